#pragma once
// A person for tests: records every box shown and answers questions from a script. A question
// asked with nothing left in the script fails the test, so an unexpected question cannot pass.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/Person.h"

namespace km::testing {

struct ShownBox {
    BoxKind kind;
    std::string text;
    Buttons buttons;
};

class ScriptedPerson : public Person {
  public:
    Answer Show(BoxKind kind, std::string_view text, Buttons buttons) override {
        shown.push_back({kind, std::string(text), buttons});
        if (onShow) {
            onShow(shown.back());
        }
        if (buttons == Buttons::Ok) {
            return Answer::Ok;
        }
        if (buttons == Buttons::Cancel) {
            return Answer::Cancel;
        }
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return Answer::Cancel;
        }
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Beep() override { ++beeps; }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& box : shown) {
            texts.push_back(box.text);
        }
        return texts;
    }

    // Runs as each box appears, before it is answered: what else is on the screen then.
    std::function<void(const ShownBox&)> onShow;
    std::deque<Answer> answers;
    std::vector<ShownBox> shown;
    int beeps = 0;
};

}  // namespace km::testing
