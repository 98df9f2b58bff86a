// ALSA's list of sound cards.
#include <gtest/gtest.h>

#include "platform/linux/live/storage/sound_cards.h"

using namespace platform::live;

namespace {

TEST(StorageSoundCardsTest, ReadsOneCard) {
    const auto cards = ParseSoundCards(
        " 0 [PCH            ]: HDA-Intel - HDA Intel PCH\n"
        "                      HDA Intel PCH at 0xf7f10000 irq 31\n");
    ASSERT_EQ(1u, cards.size());
    EXPECT_EQ("0", cards[0].index);
    EXPECT_EQ("PCH", cards[0].id);
    EXPECT_EQ("HDA-Intel", cards[0].driver);
    EXPECT_EQ("HDA Intel PCH", cards[0].name);
    EXPECT_EQ("HDA Intel PCH at 0xf7f10000 irq 31", cards[0].longName);
}

TEST(StorageSoundCardsTest, ReadsCardsInOrderWithNamesHoldingDashes) {
    const auto cards = ParseSoundCards(
        " 0 [NVidia         ]: HDA-Intel - HDA NVidia\n"
        "                      HDA NVidia at 0xf7080000 irq 17\n"
        "10 [Headset        ]: USB-Audio - Jabra - Evolve 40\n"
        "                      GN Netcom A/S Jabra EVOLVE 40 at usb-0000:00:14.0-3, full speed\n");
    ASSERT_EQ(2u, cards.size());
    EXPECT_EQ("HDA NVidia", cards[0].name);
    EXPECT_EQ("10", cards[1].index);
    EXPECT_EQ("USB-Audio", cards[1].driver);
    EXPECT_EQ("Jabra - Evolve 40", cards[1].name);
    EXPECT_EQ("GN Netcom A/S Jabra EVOLVE 40 at usb-0000:00:14.0-3, full speed", cards[1].longName);
}

TEST(StorageSoundCardsTest, PassesOverGarbageAndTheNoCardsLine) {
    EXPECT_TRUE(ParseSoundCards("--- no soundcards ---\n").empty());
    EXPECT_TRUE(ParseSoundCards("").empty());
    EXPECT_TRUE(ParseSoundCards("\xff\xfe [x]: \n x [PCH]: a - b\n[]:\n").empty());
    // A card line cut short still names a card, without a long name.
    const auto cards = ParseSoundCards(" 3 [Loopback       ]: Loopback");
    ASSERT_EQ(1u, cards.size());
    EXPECT_EQ("Loopback", cards[0].id);
    EXPECT_EQ("", cards[0].name);
    EXPECT_EQ("", cards[0].longName);
}

}  // namespace
