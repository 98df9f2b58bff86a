#pragma once
// Keeps every progress message.
#include <mutex>
#include <string>
#include <utility>
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
        return Keep({kind, value, {}});
    }
    bool PostText(platform::ProgressWindow, unsigned kind, std::wstring text) override {
        return Keep({kind, 0, std::move(text)});
    }
    std::vector<Message> Messages() {
        std::lock_guard lock(mutex_);
        return messages_;
    }

  private:
    bool Keep(Message message) {
        std::lock_guard lock(mutex_);
        messages_.push_back(std::move(message));
        return true;
    }

    std::mutex mutex_;
    std::vector<Message> messages_;
};
