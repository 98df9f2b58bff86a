#include "ui/progress_state.h"

#include <utility>

#include "collect/progress_messages.h"

ProgressState::Effects ProgressState::OnProgress(platform::ProgressMessage message) {
    Effects effects;
    const std::intptr_t value = message.value;
    switch (message.kind) {
        case PROGRESS_STATUS:
            effects.status = std::move(message.text);
            break;
        case PROGRESS_RANGE:
            range_ = static_cast<std::int32_t>(value);
            position_ = 0;
            effects.rangeChanged = true;
            break;
        case PROGRESS_POSITION:
            position_ = static_cast<std::int32_t>(value);
            effects.positionChanged = true;
            break;
        case PROGRESS_DONE:
            finished_ = true;
            effects.openViewer = true;
            busy_ = false;
            effects.close = CanClose();
            break;
        case PROGRESS_STOPPED:
            busy_ = false;
            effects.close = CanClose();
            break;
        default:
            break;
    }
    return effects;
}

bool ProgressState::RequestCancel() {
    if (cancelRequested_)
        return false;
    cancelRequested_ = true;
    return true;
}

bool ProgressState::EndAbout() {
    aboutOpen_ = false;
    return CanClose();
}

int ProgressState::Percent() const {
    if (range_ <= 0)
        return 0;
    const long long percent = static_cast<long long>(position_) * 100 / range_;
    return percent < 0 ? 0 : percent > 100 ? 100 : static_cast<int>(percent);
}

std::uint32_t ProgressState::PackedRange(std::int32_t range) {
    return static_cast<std::uint32_t>(static_cast<std::uint16_t>(range)) << 16;
}
