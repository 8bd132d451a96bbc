#pragma once

#include "ui/DeleteQuestion.h"

#include <deque>
#include <gtest/gtest.h>

// Answers the removal question from a script and counts how often it was asked; a question
// nobody scripted fails the test.
class ScriptedDeleteQuestion : public DeleteQuestion {
public:
    DeleteAnswer ask() override {
        ++asked;
        if (answers.empty()) {
            ADD_FAILURE() << "the removal was not expected to be asked";
            return {};
        }
        DeleteAnswer next = answers.front();
        answers.pop_front();
        return next;
    }
    std::deque<DeleteAnswer> answers;
    int asked = 0;
};
