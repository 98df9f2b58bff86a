#pragma once
// Keeps every message instead of showing it.
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

    void ShowMessage(const std::wstring& text, const std::wstring& caption,
                     platform::MessageIcon icon) override {
        messages.push_back({text, caption, icon});
    }
    void ReportFailure(const std::wstring& text, const std::wstring&) override {
        failures.push_back(text);
    }
    void AnnounceReport(const std::wstring& path) override { announced.push_back(path); }
};
