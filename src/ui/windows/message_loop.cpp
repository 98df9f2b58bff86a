#include "ui/windows/message_loop.h"

#include <algorithm>

namespace {

thread_local CMessageLoop* t_loop = nullptr;

template <class T>
void Remove(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}  // namespace

void CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) {
    Remove(m_filters, filter);
}

void CMessageLoop::RemoveIdleHandler(CIdleHandler* handler) {
    Remove(m_idleHandlers, handler);
}

// The newest filter first; copies, since a filter may remove itself (a window destroyed by
// the message it filters).
bool CMessageLoop::PreTranslate(MSG* message) {
    const std::vector<CMessageFilter*> filters(m_filters.rbegin(), m_filters.rend());
    for (CMessageFilter* filter : filters)
        if (filter->PreTranslateMessage(message))
            return true;
    return false;
}

bool CMessageLoop::Idle() {
    bool again = false;
    const std::vector<CIdleHandler*> handlers = m_idleHandlers;
    for (CIdleHandler* handler : handlers)
        again = handler->OnIdle() || again;
    return again;
}

int CMessageLoop::Run() {
    MSG message = {};
    for (;;) {
        // Idle work until the handlers are done or a message arrives.
        while (!::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && Idle()) {
        }
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == -1)
            continue;
        if (!got)
            break;
        if (!PreTranslate(&message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

CMessageLoop* CMessageLoop::ForThisThread() {
    return t_loop;
}

CMessageLoop::Registration::Registration(CMessageLoop& loop) : m_previous(t_loop) {
    t_loop = &loop;
}

CMessageLoop::Registration::~Registration() {
    t_loop = m_previous;
}
