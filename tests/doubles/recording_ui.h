#pragma once
// Keeps every message instead of showing it, and answers questions from a script.
#include <deque>
#include <vector>

#include "platform/ui.h"

class RecordingUi : public platform::Ui {
  public:
    struct Message {
        std::wstring text;
        std::wstring caption;
        platform::MessageIcon icon;
    };
    std::vector<Message> messages;
    std::vector<std::wstring> failures;
    std::vector<std::wstring> announced;
    std::vector<platform::Question> questions;
    // Given in turn; "No" once they run out.
    std::deque<platform::Answer> answers;

    void ShowMessage(const std::wstring& text, const std::wstring& caption,
                     platform::MessageIcon icon) override {
        messages.push_back({text, caption, icon});
    }
    platform::Answer Ask(const platform::Question& question) override {
        questions.push_back(question);
        if (answers.empty())
            return platform::Answer::No;
        const platform::Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ReportFailure(const std::wstring& text, const std::wstring&) override {
        failures.push_back(text);
    }
    void AnnounceReport(const std::wstring& path) override { announced.push_back(path); }
};
