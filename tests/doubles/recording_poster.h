#pragma once
// Keeps every progress message, freeing status texts as a window would.
#include <mutex>
#include <string>
#include <vector>

#include "platform/progress.h"

class RecordingPoster : public platform::ProgressPoster {
  public:
    struct Message {
        unsigned kind;
        std::intptr_t value;
        std::wstring text;  // for status messages
    };

    bool Post(platform::ProgressWindow, unsigned kind, std::intptr_t value) override {
        Message message{kind, value, {}};
        if (kind == 1) {
            auto* text = reinterpret_cast<std::wstring*>(value);
            message.text = *text;
            delete text;
        }
        std::lock_guard lock(mutex_);
        messages_.push_back(message);
        return true;
    }
    std::vector<Message> Messages() {
        std::lock_guard lock(mutex_);
        return messages_;
    }

  private:
    std::mutex mutex_;
    std::vector<Message> messages_;
};
