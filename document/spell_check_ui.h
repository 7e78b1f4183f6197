// The two spelling dialogs as the interactive checks of a flow see them: one shows a
// misspelt word, the other a finding of the sentence checker; each returns the user's
// choice and, for a replacement, the text. The editor window provides them; the dialog's
// screen position is kept by the caller across the errors of one run.
#pragma once
#include <vector>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"

class CSpellCheckUi {
public:
    // Results of the word dialog.
    enum WordChoice : int {
        kWordExit = 0,
        kWordAdd = 1,
        kWordIgnore = 2,
        kWordIgnoreAll = 3,
        kWordReplace = 4,
    };
    // Results of the sentence dialog.
    enum SentenceChoice : int {
        kSentenceExit = 0,
        kSentenceIgnore = 1,
        kSentenceReplace = 2,
    };

    virtual ~CSpellCheckUi() = default;
    virtual int AskWord(const plat::String& word, const std::vector<plat::String>& suggestions,
                        plat::Point& dialogPos, plat::String& replacement) = 0;
    virtual int AskSentence(const plat::String& text, const std::vector<plat::String>& suggestions,
                            plat::Point& dialogPos, plat::String& replacement) = 0;
};
