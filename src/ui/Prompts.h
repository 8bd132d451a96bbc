#pragma once

#include <QString>

// Everything the program asks or tells the patient in a message box goes through this
// interface, so that tests can see each caption and text and answer it from a script.
// The caption of the program's own messages (refused values and the like).
inline constexpr const char* kProgramCaption = "Quillmarch";
// The question before a file the patient chose is replaced (the path in place of %1).
inline constexpr const char* kOverwriteQuestion = "%1\n already exists. Over write this file?";

enum class PromptIcon { Information, Warning, Error, Question };
enum class PromptButtons { Ok, YesNo, YesNoCancel, OkCancel };
enum class PromptAnswer { Ok, Yes, No, Cancel };

class Prompts {
public:
    virtual ~Prompts() = default;

    virtual PromptAnswer show(const QString& caption, const QString& text, PromptButtons buttons,
                              PromptIcon icon) = 0;

    void information(const QString& caption, const QString& text) {
        show(caption, text, PromptButtons::Ok, PromptIcon::Information);
    }
    void error(const QString& caption, const QString& text) {
        show(caption, text, PromptButtons::Ok, PromptIcon::Error);
    }
    bool askYesNo(const QString& caption, const QString& text) {
        return show(caption, text, PromptButtons::YesNo, PromptIcon::Question) == PromptAnswer::Yes;
    }
};

// For code that runs where nobody can answer (benchmarks, batch tools): every message is
// dropped and every question is answered "No", which never removes or overwrites anything.
class SilentPrompts : public Prompts {
public:
    PromptAnswer show(const QString&, const QString&, PromptButtons buttons, PromptIcon) override {
        return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::No;
    }
};
