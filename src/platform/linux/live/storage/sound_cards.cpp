#include "platform/linux/live/storage/sound_cards.h"
#include "platform/linux/live/common/text_views.h"

namespace platform::live {
namespace {

bool IsDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// " 0 [PCH            ]: HDA-Intel - HDA Intel PCH"
bool ParseHead(std::string_view line, SoundCard& card) {
    const std::size_t open = line.find('[');
    const std::size_t close = line.find("]:", open == std::string_view::npos ? 0 : open);
    if (open == std::string_view::npos || close == std::string_view::npos)
        return false;
    const std::string_view index = TrimBlanks(line.substr(0, open));
    if (!IsDigits(index))
        return false;
    card.index = std::string(index);
    card.id = std::string(TrimBlanks(line.substr(open + 1, close - open - 1)));
    const std::string_view rest = line.substr(close + 2);
    const std::size_t dash = rest.find(" - ");
    card.driver = std::string(TrimBlanks(rest.substr(0, dash)));
    card.name = dash == std::string_view::npos ? std::string()
                                               : std::string(TrimBlanks(rest.substr(dash + 3)));
    return true;
}

}  // namespace

std::vector<SoundCard> ParseSoundCards(std::string_view text) {
    std::vector<SoundCard> cards;
    bool expectLongName = false;
    for (const std::string_view line : Lines(text)) {
        SoundCard card;
        if (ParseHead(line, card)) {
            cards.push_back(std::move(card));
            expectLongName = true;
        } else if (expectLongName && !TrimBlanks(line).empty() &&
                   (line.front() == ' ' || line.front() == '\t')) {
            cards.back().longName = std::string(TrimBlanks(line));
            expectLongName = false;
        } else {
            expectLongName = false;
        }
    }
    return cards;
}

}  // namespace platform::live
