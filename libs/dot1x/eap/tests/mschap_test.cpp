// MS-CHAP and MS-CHAPv2 against the published example values (RFC 2759 section 9.2 and the
// MS-CHAP example of RFC 2433's companion values).

#include <gtest/gtest.h>

#include "libs/dot1x/eap/mschap.h"
#include "libs/dot1x/wpa/tests/hex.h"

namespace eap::mschap {
namespace {

using wpa::test::ArrayFromHex;
using wpa::test::ToHex;

const auto kAuthenticatorChallenge = ArrayFromHex<Challenge16>("5B5D7C7D7B3F2F3E3C2C602132262628");
const auto kPeerChallenge = ArrayFromHex<Challenge16>("21402324255E262A28295F2B3A337C7E");

TEST(MsChapV2, PublishedExample) {
  const auto hash = NtPasswordHash("clientPass");
  ASSERT_TRUE(hash);
  EXPECT_EQ(ToHex(*hash), "44ebba8d5312b8d611474411f56989ae");
  EXPECT_EQ(ToHex(ChallengeHash(kPeerChallenge, kAuthenticatorChallenge, "User")), "d02e4386bce91226");
  const auto nt = GenerateNtResponseV2(kAuthenticatorChallenge, kPeerChallenge, "User", "clientPass");
  ASSERT_TRUE(nt);
  EXPECT_EQ(ToHex(*nt), "82309ecd8d708b5ea08faa3981cd83544233114a3d85d6df");
  const auto response = AuthenticatorResponse("clientPass", *nt, kPeerChallenge, kAuthenticatorChallenge, "User");
  ASSERT_TRUE(response);
  EXPECT_EQ(*response, "S=407A5589115FD0D6209F510FE9C04566932CDA56");
}

TEST(MsChapV2, DomainIsNotPartOfTheChallengeHash) {
  EXPECT_EQ(ChallengeHash(kPeerChallenge, kAuthenticatorChallenge, "CORP\\User"),
            ChallengeHash(kPeerChallenge, kAuthenticatorChallenge, "User"));
}

TEST(MsChap, NtResponseOfTheExampleChallenge) {
  // RFC 2433 example: password "MyPw", challenge 102DB5DF085D3041.
  const auto hash = NtPasswordHash("MyPw");
  ASSERT_TRUE(hash);
  EXPECT_EQ(ToHex(*hash), "fc156af7edcd6c0edde3337d427f4eac");
  const auto nt = ChallengeResponse(ArrayFromHex<Challenge8>("102DB5DF085D3041"), *hash);
  ASSERT_TRUE(nt);
  EXPECT_EQ(ToHex(*nt), "4e9d3c8f9cfd385d5bf4d3246791956ca4c351ab409a3d61");
}

TEST(MsChapV2, ServerProofIsCheckedWholeAndWithoutCaseOfHexDigits) {
  const std::string expected = "S=407A5589115FD0D6209F510FE9C04566932CDA56";
  EXPECT_TRUE(VerifyAuthenticatorResponse(expected + " M=Welcome", expected));
  EXPECT_TRUE(VerifyAuthenticatorResponse("S=407a5589115fd0d6209f510fe9c04566932cda56", expected));
  EXPECT_FALSE(VerifyAuthenticatorResponse("S=407A5589115FD0D6209F510FE9C04566932CDA57", expected));
  EXPECT_FALSE(VerifyAuthenticatorResponse("S=407A", expected));
  EXPECT_FALSE(VerifyAuthenticatorResponse("", expected));
}

}  // namespace
}  // namespace eap::mschap
