#pragma once
// WMI answering from objects a test lays out per statement.
#include <functional>
#include <map>
#include <vector>

#include "platform/wmi.h"

class FakeWmi : public platform::Wmi {
  public:
    using Object = std::map<std::wstring, platform::WmiValue>;

    bool connectable = true;
    std::map<std::wstring, std::vector<Object>> results;  // by exact statement
    std::vector<std::wstring> statements;                 // as executed
    // Called on every fetch, e.g. to cancel a run from "another thread" mid-query.
    std::function<void(const std::wstring&)> onFetch;

    int Connect() override { return connectable ? 0 : 1; }
    void Disconnect() override {}
    std::unique_ptr<platform::WmiObjects> ExecQuery(const std::wstring& wql) override {
        statements.push_back(wql);
        auto it = results.find(wql);
        if (it == results.end())
            return nullptr;
        return std::make_unique<Objects>(*this, wql, it->second);
    }

  private:
    class Objects : public platform::WmiObjects {
      public:
        Objects(FakeWmi& owner, std::wstring wql, const std::vector<Object>& objects)
            : owner_(owner), wql_(std::move(wql)), objects_(objects) {}
        bool Next() override {
            if (owner_.onFetch)
                owner_.onFetch(wql_);
            return ++index_ < objects_.size();
        }
        bool Get(const std::wstring& name, platform::WmiValue& value) override {
            auto it = objects_[index_].find(name);
            if (it == objects_[index_].end())
                return false;
            value = it->second;
            return true;
        }

      private:
        FakeWmi& owner_;
        std::wstring wql_;
        const std::vector<Object>& objects_;
        std::size_t index_ = static_cast<std::size_t>(-1);
    };
};
