#pragma once

// What the patient answered when asked to confirm a removal: whether to remove, and whether
// the question should be asked again next time.
struct DeleteAnswer {
    bool yes = false;
    bool alwaysAsk = true;
};

// Asks the patient whether the selected information may be removed. The dialog that asks
// lives with the widgets; what the answer means (remembering "don't ask again") lives with
// the logbook, so this interface is all the two share.
class DeleteQuestion {
public:
    virtual ~DeleteQuestion() = default;
    virtual DeleteAnswer ask() = 0;
};
