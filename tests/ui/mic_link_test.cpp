// The microphone EQ link's copy and code-60 rules, on an image.
#include <gtest/gtest.h>

#include "ui/pages/MicLink.h"

namespace tavelo {
namespace {

constexpr std::uint32_t kMic1Bit = 1u << 13, kMic2Bit = 1u << 14;

struct LinkFixture : ::testing::Test {
  LinkFixture() {
    ApplyDefaults(image);
    for (int b = 0; b < 12; ++b) {
      image.set(kEqMicB)[b] =
          EqBand{static_cast<std::int8_t>(b % 8), static_cast<std::int8_t>(b % 3),
                 static_cast<std::int16_t>(100 + b), 15, static_cast<std::int16_t>(-b)};
    }
    image.switchWord &= ~kMic2Bit;  // microphone 2 bypassed, microphone 1 active
    image.switchWord |= kMic1Bit;
  }
  ParamImage image{};
  MicLink link{image};
};

TEST_F(LinkFixture, TurningOnCopiesEverythingAndPostsOnlyWhenTheFlagChanges) {
  const auto request = link.Switch(true, 1);
  for (int b = 0; b < 12; ++b) EXPECT_EQ(image.set(kEqMicA)[b], image.set(kEqMicB)[b]) << b;
  EXPECT_EQ(image.switchWord & kMic1Bit, 0u) << "microphone 2's enable bit goes to microphone 1";
  ASSERT_TRUE(request);
  EXPECT_EQ(*request, (BlockRequest{CommandCode::kMicEqLink, 256 + 1}));
  EXPECT_TRUE(link.Linked());

  // Already set (a previous session, another window): the copy happens, nothing is posted.
  image.set(kEqMicA)[4].gain = 99;
  image.switchWord |= kMic1Bit;
  EXPECT_FALSE(link.Switch(true, 1));
  EXPECT_EQ(image.set(kEqMicA)[4].gain, image.set(kEqMicB)[4].gain);
  EXPECT_EQ(image.switchWord & kMic1Bit, 0u);

  EXPECT_EQ(*link.Switch(false, 0), (BlockRequest{CommandCode::kMicEqLink, 0}));
  EXPECT_FALSE(link.Switch(false, 1));
  EXPECT_FALSE(link.Linked());
}

TEST_F(LinkFixture, LinkedChangesCopyBandsUpToTheLowPassAndTheEnableBitAndTheReset) {
  image.micEqLink = 1;
  const EqBand before11 = image.set(kEqMicA)[11];
  link.BandStored(1, 3);
  link.BandStored(1, 10);
  link.BandStored(1, 11);
  EXPECT_EQ(image.set(kEqMicA)[3], image.set(kEqMicB)[3]);
  EXPECT_EQ(image.set(kEqMicA)[10], image.set(kEqMicB)[10]);
  EXPECT_EQ(image.set(kEqMicA)[11], before11) << "the high-pass slider writes both by itself";

  link.BypassChanged(1);
  EXPECT_EQ(image.switchWord & kMic1Bit, 0u);

  const EqBand before10 = image.set(kEqMicB)[10];
  image.set(kEqMicA)[10].freq = 5000;
  for (int b = 0; b < 10; ++b) image.set(kEqMicA)[b] = EqBand{0, 0, 1000, 10, 0};
  link.ResetDone(0);
  for (int b = 0; b < 10; ++b) EXPECT_EQ(image.set(kEqMicB)[b], (EqBand{0, 0, 1000, 10, 0}));
  EXPECT_EQ(image.set(kEqMicB)[10], before10) << "a reset leaves the filters";
}

TEST_F(LinkFixture, UnlinkedChangesStayWithTheirMicrophone) {
  const ParamImage before = image;
  link.BandStored(1, 3);
  link.BypassChanged(1);
  link.ResetDone(1);
  EXPECT_EQ(image, before);
}

}  // namespace
}  // namespace tavelo
