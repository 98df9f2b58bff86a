#pragma once
// The main thread's message loop, with the filters that see each message first (a modeless
// dialog's keyboard handling) and the handlers that run when the queue is empty.
#include <vector>

#include "platform/windows/win32.h"

class CMessageFilter {
  public:
    // True when the message was handled and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* message) = 0;

  protected:
    ~CMessageFilter() = default;
};

class CIdleHandler {
  public:
    // True while the handler wants to be called again before the next message.
    virtual BOOL OnIdle() = 0;

  protected:
    ~CIdleHandler() = default;
};

class CMessageLoop {
  public:
    CMessageLoop() = default;
    CMessageLoop(const CMessageLoop&) = delete;
    CMessageLoop& operator=(const CMessageLoop&) = delete;

    void AddMessageFilter(CMessageFilter* filter) { m_filters.push_back(filter); }
    void RemoveMessageFilter(CMessageFilter* filter);
    void AddIdleHandler(CIdleHandler* handler) { m_idleHandlers.push_back(handler); }
    void RemoveIdleHandler(CIdleHandler* handler);

    // Runs until the quit message; returns its code.
    int Run();

    // The loop registered for the calling thread; null when there is none.
    static CMessageLoop* ForThisThread();

    // Registers a loop for the calling thread for the lifetime of the registration, so that
    // windows created on the thread can find it.
    class Registration {
      public:
        explicit Registration(CMessageLoop& loop);
        ~Registration();
        Registration(const Registration&) = delete;
        Registration& operator=(const Registration&) = delete;

      private:
        CMessageLoop* m_previous;
    };

  private:
    bool PreTranslate(MSG* message);
    bool Idle();

    std::vector<CMessageFilter*> m_filters;
    std::vector<CIdleHandler*> m_idleHandlers;
};
