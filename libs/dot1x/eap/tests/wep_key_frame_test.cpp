// Dynamic WEP key frames: what one side signs and encrypts, the other opens; a frame is only
// opened when its signature can be computed and holds.

#include <gtest/gtest.h>

#include "libs/dot1x/eap/wep_key_frame.h"
#include "libs/dot1x/wpa/tests/failing_provider.h"

namespace eap {
namespace {

constexpr std::size_t kSignatureAt = 4 + 28;

TEST(WepKeyFrame, OpensWhatWasBuiltAndNothingWithoutItsSignature) {
  Bytes msk(kWepFrameKeySize);
  for (std::size_t i = 0; i < msk.size(); ++i) msk[i] = static_cast<std::uint8_t>(i * 5 + 1);
  const WepKey key{7, false, 2, Bytes{0x11, 0x22, 0x33, 0x44, 0x55}};
  wpa::KeyIv iv{};
  iv[0] = 0x42;
  const auto frame = BuildWepKeyFrame(1, key, msk, iv);
  ASSERT_TRUE(frame);
  const auto opened = OpenWepKeyFrame(*frame, msk);
  ASSERT_TRUE(opened);
  EXPECT_EQ(opened->key, key.key);
  EXPECT_EQ(opened->index, 2);
  EXPECT_EQ(opened->replayCounter, 7u);

  Bytes unsigned_ = *frame;
  std::fill_n(unsigned_.begin() + kSignatureAt, 16, 0);
  EXPECT_FALSE(OpenWepKeyFrame(unsigned_, msk));

  // Without HMAC-MD5 a failed computation must not pass for an all-zero signature.
  wpa::test::FailingProvider failing;
  EXPECT_FALSE(OpenWepKeyFrame(unsigned_, msk));
  EXPECT_FALSE(OpenWepKeyFrame(*frame, msk));
  EXPECT_FALSE(BuildWepKeyFrame(1, key, msk, iv));
}

}  // namespace
}  // namespace eap
