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
    // By exact statement, after "namespace:" for a namespace other than ROOT\CIMV2.
    std::map<std::wstring, std::vector<Object>> results;
    std::vector<std::wstring> statements;  // as executed
    std::vector<std::wstring> namespaces;  // of each statement
    // Called on every fetch, e.g. to cancel a run from "another thread" mid-query.
    std::function<void(const std::wstring&)> onFetch;

    int Connect() override { return connectable ? 0 : 1; }
    void Disconnect() override {}
    std::unique_ptr<platform::WmiObjects> ExecQuery(const std::wstring& wql) override {
        return Run(L"ROOT\\CIMV2", wql);
    }
    std::unique_ptr<platform::WmiObjects> ExecQueryIn(const std::wstring& nameSpace,
                                                      const std::wstring& wql) override {
        return Run(nameSpace, wql);
    }

  private:
    std::unique_ptr<platform::WmiObjects> Run(const std::wstring& nameSpace,
                                              const std::wstring& wql) {
        statements.push_back(wql);
        namespaces.push_back(nameSpace);
        const bool cimv2 = platform::IsDefaultNamespace(nameSpace);
        auto it = results.find(cimv2 ? wql : nameSpace + L":" + wql);
        if (it == results.end())
            return nullptr;
        return std::make_unique<Objects>(*this, wql, it->second);
    }

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
