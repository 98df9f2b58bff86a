#pragma once
// The sound cards ALSA lists in /proc/asound/cards: per card a line
// " 0 [PCH            ]: HDA-Intel - HDA Intel PCH" and a line with its long name.
#include <string>
#include <string_view>
#include <vector>

namespace platform::live {

struct SoundCard {
    std::string index;     // "0"
    std::string id;        // "PCH"
    std::string driver;    // "HDA-Intel"
    std::string name;      // "HDA Intel PCH"
    std::string longName;  // "HDA Intel PCH at 0xf7f10000 irq 31"
};

// The cards in the text, in order; lines that are not a card's are passed over.
std::vector<SoundCard> ParseSoundCards(std::string_view text);

}  // namespace platform::live
