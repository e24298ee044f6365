// Supplicant and authenticator against each other through in-memory transmit seams, for WPA
// and WPA2 with TKIP and with CCMP: the frames on the air, the keys each side ends up with, and
// the losses, replays and forgeries both must survive.

#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "libs/dot1x/wpa/authenticator.h"
#include "libs/dot1x/wpa/supplicant.h"
#include "libs/dot1x/wpa/tests/failing_provider.h"
#include "libs/dot1x/wpa/tests/hex.h"

namespace wpa {
namespace {

using test::ArrayFromHex;
using test::FailingProvider;
using test::AsBytes;
using test::FromHex;
using test::ToHex;

const MacAddress kApAddress = {0x02, 0x5a, 0x00, 0x00, 0x00, 0x01};
const MacAddress kStationAddress = {0x02, 0x5a, 0x00, 0x00, 0x00, 0x02};
constexpr std::string_view kSsid = "VuzoNet";
constexpr std::string_view kPassPhrase = "correct horse battery";

struct SuiteCase {
  const char* name;
  Suite suite;
  const char* element;  // advertised by the access point and sent by the station
  std::uint16_t message1Info, message2Info, message3Info, message4Info, group1Info, group2Info;
  std::uint16_t message1KeyLength, message2KeyLength, group1KeyLength;
  std::size_t groupKeyLength;
};

const SuiteCase kSuites[] = {
    {"WpaTkip", {Protocol::Wpa, Cipher::Tkip, Cipher::Tkip}, "dd160050f20101000050f20201000050f20201000050f202",
     0x0089, 0x0109, 0x01c9, 0x0109, 0x0391, 0x0311, 32, 32, 32, 32},
    {"RsnCcmp", {Protocol::Rsn, Cipher::Ccmp, Cipher::Ccmp}, "30140100000fac040100000fac040100000fac020000",
     0x008a, 0x010a, 0x13ca, 0x030a, 0x1382, 0x0302, 16, 0, 0, 16},
    // The mixed pairings: AES key wrap under the WPA descriptor, RC4 under the RSN one.
    {"WpaCcmp", {Protocol::Wpa, Cipher::Ccmp, Cipher::Ccmp}, "dd160050f20101000050f20401000050f20401000050f202",
     0x008a, 0x010a, 0x01ca, 0x010a, 0x0392, 0x0312, 16, 16, 16, 16},
    {"RsnTkip", {Protocol::Rsn, Cipher::Tkip, Cipher::Tkip}, "30140100000fac020100000fac020100000fac020000",
     0x0089, 0x0109, 0x13c9, 0x0309, 0x1381, 0x0301, 32, 0, 0, 32},
};

void PrintTo(const SuiteCase& c, std::ostream* os) { *os << c.name; }

struct InstalledKey {
  Rsc rsc;
  Bytes key;
  int keyIndex;
  KeyKind kind;
};

// Predictable but distinct random bytes per side and per call.
NonceSource CountingNonces(std::uint8_t seed) {
  auto calls = std::make_shared<std::uint8_t>(0);
  return [seed, calls](std::span<std::uint8_t> out) {
    ++*calls;
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = static_cast<std::uint8_t>(seed + *calls * 31 + i);
    return true;
  };
}

EapolKey Parse(const Bytes& frame) {
  ParsedEapolKey parsed;
  EXPECT_EQ(ParseEapolKey(frame, parsed), EapolParseError::None);
  return parsed.key;
}

bool IsMessage3(const Bytes& frame) {
  const EapolKey key = Parse(frame);
  return key.Has(key_info::kPairwise | key_info::kMic | key_info::kAck);
}
bool IsMessage4(const Bytes& frame) {
  const EapolKey key = Parse(frame);
  return key.Has(key_info::kPairwise | key_info::kMic) && key.keyData.empty();
}

class Handshake : public ::testing::TestWithParam<SuiteCase> {
 protected:
  void Build(std::string_view stationPassPhrase = kPassPhrase, SecretBytes groupKey = {}) {
    const SuiteCase& c = GetParam();
    toStation_.clear();
    toAp_.clear();
    sentByStation_.clear();
    sentByAp_.clear();
    stationVerdicts_.clear();
    apVerdicts_.clear();
    installed_.clear();
    established_.clear();
    failures_.clear();
    element_ = FromHex(c.element);
    groupKey_ = {1, true, groupKey.empty() ? SecretBytes(c.groupKeyLength, 0x47) : std::move(groupKey)};

    BuildStation(stationPassPhrase, element_);

    AuthenticatorConfig apConfig;
    apConfig.ownAddress = kApAddress;
    apConfig.stationAddress = kStationAddress;
    apConfig.pmk = PassPhraseToPmk(kPassPhrase, AsBytes(kSsid));
    apConfig.suite = c.suite;
    apConfig.ownElement = message3Element_.empty() ? element_ : message3Element_;
    apConfig.expectedStationElement = element_;
    apConfig.groupKey = groupKey_;
    apConfig.groupRsc = ArrayFromHex<Rsc>("0500000000000000");
    AuthenticatorSeams apSeams;
    apSeams.nonce = CountingNonces(0x80);
    apSeams.transmit = [this](ByteSpan frame) {
      sentByAp_.emplace_back(frame.begin(), frame.end());
      toStation_.emplace_back(frame.begin(), frame.end());
    };
    apSeams.keysEstablished = [this](const EstablishedKeys& keys) { established_.push_back(keys); };
    apSeams.failed = [this](AuthenticatorFailure failure) { failures_.push_back(failure); };
    ap_ = std::make_unique<Authenticator>(apConfig, apSeams);
  }

  // The station, told of `beaconElement` as the access point's element (empty: none known).
  void BuildStation(std::string_view passPhrase, Bytes beaconElement) {
    SupplicantConfig config{kStationAddress, kApAddress, PassPhraseToPmk(passPhrase, AsBytes(kSsid)),
                            GetParam().suite, std::move(beaconElement)};
    SupplicantSeams seams;
    seams.nonce = CountingNonces(0x10);
    seams.transmit = [this](ByteSpan frame) {
      sentByStation_.emplace_back(frame.begin(), frame.end());
      toAp_.emplace_back(frame.begin(), frame.end());
    };
    seams.installKey = [this](const Rsc& rsc, ByteSpan key, int index, KeyKind kind) {
      installed_.push_back({rsc, Bytes(key.begin(), key.end()), index, kind});
    };
    seams.ownElement = [this] { return element_; };
    station_ = std::make_unique<Supplicant>(config, seams);
  }

  // Delivers queued frames both ways until the air is quiet; `lose` may swallow any of them.
  void Pump() {
    while (!toStation_.empty() || !toAp_.empty()) {
      if (!toStation_.empty()) {
        Bytes frame = std::move(toStation_.front());
        toStation_.pop_front();
        if (loseToStation_ && loseToStation_(frame)) continue;
        stationVerdicts_.push_back(station_->OnFrame(frame));
      } else {
        Bytes frame = std::move(toAp_.front());
        toAp_.pop_front();
        if (loseToAp_ && loseToAp_(frame)) continue;
        apVerdicts_.push_back(ap_->OnFrame(frame));
      }
    }
  }

  std::vector<InstalledKey> Installed(KeyKind kind) const {
    std::vector<InstalledKey> out;
    for (const InstalledKey& k : installed_) {
      if (k.kind == kind) out.push_back(k);
    }
    return out;
  }

  void ExpectBothSidesHoldTheSameKeys() {
    ASSERT_EQ(ap_->state(), Authenticator::State::Established);
    ASSERT_EQ(station_->state(), Supplicant::State::Established);
    ASSERT_FALSE(established_.empty());
    const EstablishedKeys& keys = established_.back();
    const auto pairwise = Installed(KeyKind::Pairwise);
    const auto group = Installed(KeyKind::Group);
    ASSERT_FALSE(pairwise.empty());
    ASSERT_FALSE(group.empty());
    EXPECT_EQ(ToHex(pairwise.back().key), ToHex(keys.ptk.tk));
    EXPECT_EQ(pairwise.back().key.size(), TemporalKeyLength(GetParam().suite.pairwise));
    EXPECT_EQ(ToHex(group.back().key), ToHex(keys.groupKey.key));
    EXPECT_EQ(group.back().keyIndex, keys.groupKey.keyIndex);
  }

  // Lets the authenticator's retransmission timer run until it gives up.
  void TickUntilQuiet() {
    for (int i = 0; i < 10; ++i) {
      ap_->Tick();
      Pump();
    }
  }

  Bytes element_;
  Bytes message3Element_;  // what the access point puts in message 3 when not its beacon's element
  GroupKey groupKey_;
  std::unique_ptr<Supplicant> station_;
  std::unique_ptr<Authenticator> ap_;
  std::deque<Bytes> toStation_, toAp_;
  std::vector<Bytes> sentByStation_, sentByAp_;
  std::function<bool(const Bytes&)> loseToStation_, loseToAp_;
  std::vector<FrameVerdict> stationVerdicts_, apVerdicts_;
  std::vector<InstalledKey> installed_;
  std::vector<EstablishedKeys> established_;
  std::vector<AuthenticatorFailure> failures_;
};

TEST_P(Handshake, RightPassPhraseEstablishesEqualKeysWithTheExpectedFrames) {
  Build();
  ap_->Start();
  Pump();
  ExpectBothSidesHoldTheSameKeys();
  EXPECT_EQ(Installed(KeyKind::Pairwise).size(), 1u);
  EXPECT_EQ(Installed(KeyKind::Group).size(), 1u);
  EXPECT_EQ(ToHex(Installed(KeyKind::Group)[0].rsc), "0500000000000000");
  EXPECT_EQ(established_.size(), 1u);
  EXPECT_TRUE(failures_.empty());

  const SuiteCase& c = GetParam();
  const bool wpa = c.suite.protocol == Protocol::Wpa;
  ASSERT_EQ(sentByAp_.size(), wpa ? 3u : 2u);
  ASSERT_EQ(sentByStation_.size(), wpa ? 3u : 2u);
  struct Expected {
    const Bytes& frame;
    std::uint16_t keyInfo, keyLength;
    std::uint64_t replayCounter;
  };
  std::vector<Expected> expected = {{sentByAp_[0], c.message1Info, c.message1KeyLength, 1},
                                    {sentByStation_[0], c.message2Info, c.message2KeyLength, 1},
                                    {sentByAp_[1], c.message3Info, c.message1KeyLength, 2},
                                    {sentByStation_[1], c.message4Info, c.message2KeyLength, 2}};
  if (wpa) {
    expected.push_back({sentByAp_[2], c.group1Info, c.group1KeyLength, 3});
    expected.push_back({sentByStation_[2], c.group2Info, c.message2KeyLength, 3});
  }
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const Bytes& frame = expected[i].frame;
    EXPECT_EQ(frame[1], kEapolTypeKey) << i;
    EXPECT_EQ(frame[4], DescriptorTypeOf(c.suite.protocol)) << i;
    EXPECT_EQ(ToHex(ByteSpan(frame).subspan(5, 2)), ToHex(Bytes{static_cast<std::uint8_t>(expected[i].keyInfo >> 8),
                                                               static_cast<std::uint8_t>(expected[i].keyInfo)}))
        << "key information of frame " << i;
    const EapolKey key = Parse(frame);
    EXPECT_EQ(key.keyLength, expected[i].keyLength) << i;
    EXPECT_EQ(key.replayCounter, expected[i].replayCounter) << i;
  }
  // Message 2 carries the station's element in clear; WPA's message 3 the access point's.
  EXPECT_EQ(Parse(sentByStation_[0]).keyData, element_);
  if (wpa) {
    EXPECT_EQ(Parse(sentByAp_[1]).keyData, element_);
  }
  // The group key travels encrypted only.
  for (const Bytes& frame : sentByAp_) {
    EXPECT_EQ(ToHex(frame).find(ToHex(groupKey_.key)), std::string::npos);
  }
}

TEST_P(Handshake, WrongPassPhraseInstallsNothingAndTheAuthenticatorGivesUp) {
  Build("not the pass phrase");
  ap_->Start();
  Pump();
  EXPECT_EQ(apVerdicts_, std::vector<FrameVerdict>{FrameVerdict::BadMic});
  TickUntilQuiet();
  EXPECT_TRUE(installed_.empty());
  EXPECT_TRUE(established_.empty());
  EXPECT_EQ(ap_->state(), Authenticator::State::Failed);
  EXPECT_EQ(failures_, std::vector<AuthenticatorFailure>{AuthenticatorFailure::MicMismatch});
  ASSERT_EQ(sentByAp_.size(), 4u);  // message 1 and three retries, each with a newer counter
  for (std::size_t i = 0; i < sentByAp_.size(); ++i) EXPECT_EQ(Parse(sentByAp_[i]).replayCounter, i + 1);
}

TEST_P(Handshake, SilentStationIsGivenUpWithoutMicMismatch) {
  Build();
  loseToStation_ = [](const Bytes&) { return true; };
  ap_->Start();
  TickUntilQuiet();
  EXPECT_EQ(failures_, std::vector<AuthenticatorFailure>{AuthenticatorFailure::NoReply});
}

TEST_P(Handshake, LostMessage2IsRecoveredByRetransmittingMessage1) {
  Build();
  int lost = 0;
  loseToAp_ = [&lost](const Bytes&) { return lost++ == 0; };
  ap_->Start();
  Pump();
  EXPECT_EQ(ap_->state(), Authenticator::State::PtkStart);
  ap_->Tick();
  Pump();
  ExpectBothSidesHoldTheSameKeys();
  // The repeated message 1 keeps its ANonce and the station keeps its SNonce.
  EXPECT_EQ(Parse(sentByAp_[0]).nonce, Parse(sentByAp_[1]).nonce);
  EXPECT_EQ(Parse(sentByAp_[1]).replayCounter, 2u);
  EXPECT_EQ(Parse(sentByStation_[0]).nonce, Parse(sentByStation_[1]).nonce);
  EXPECT_EQ(Installed(KeyKind::Pairwise).size(), 1u);
}

TEST_P(Handshake, LostMessage3IsRecoveredByRetransmission) {
  Build();
  int lost = 0;
  loseToStation_ = [&lost](const Bytes& frame) { return IsMessage3(frame) && lost++ == 0; };
  ap_->Start();
  Pump();
  EXPECT_EQ(ap_->state(), Authenticator::State::PtkInitNegotiating);
  EXPECT_TRUE(installed_.empty());
  ap_->Tick();
  Pump();
  ExpectBothSidesHoldTheSameKeys();
  EXPECT_EQ(Installed(KeyKind::Pairwise).size(), 1u);
}

TEST_P(Handshake, RetransmittedMessage3IsAnsweredWithoutReinstallingAndAReplayIsDropped) {
  Build();
  int lost = 0;
  loseToAp_ = [&lost](const Bytes& frame) { return IsMessage4(frame) && lost++ == 0; };
  ap_->Start();
  Pump();
  ASSERT_EQ(station_->state(), Supplicant::State::Established);
  ASSERT_EQ(Installed(KeyKind::Pairwise).size(), 1u);

  ap_->Tick();  // message 4 never arrived: message 3 again, with a newer counter
  Pump();
  ExpectBothSidesHoldTheSameKeys();
  EXPECT_EQ(Installed(KeyKind::Pairwise).size(), 1u);
  EXPECT_EQ(Installed(KeyKind::Group).size(), 1u);
  EXPECT_EQ(std::count_if(sentByStation_.begin(), sentByStation_.end(), IsMessage4), 2);
  const std::size_t installsBefore = installed_.size();

  // The same message 3 bytes once more: not newer than what was accepted.
  const Bytes firstMessage3 = *std::find_if(sentByAp_.begin(), sentByAp_.end(), IsMessage3);
  const std::size_t sentBefore = sentByStation_.size();
  EXPECT_EQ(station_->OnFrame(firstMessage3), FrameVerdict::Replayed);
  EXPECT_EQ(sentByStation_.size(), sentBefore);
  EXPECT_EQ(installed_.size(), installsBefore);
}

TEST_P(Handshake, ForgedMessage3IsDroppedBeforeAnythingIsDecryptedOrInstalled) {
  struct Forgery {
    const char* name;
    std::size_t offset;  // byte flipped in message 3
  };
  const Forgery forgeries[] = {{"MIC", kKeyMicOffset + 3}, {"key data", 99 + 2}, {"replay counter", 16}};
  for (const Forgery& forgery : forgeries) {
    SCOPED_TRACE(forgery.name);
    Build();
    loseToStation_ = [&](const Bytes& frame) {
      if (!IsMessage3(frame)) return false;
      Bytes forged = frame;
      forged[forgery.offset] ^= 0x01;
      stationVerdicts_.push_back(station_->OnFrame(forged));
      return true;
    };
    ap_->Start();
    Pump();
    EXPECT_EQ(stationVerdicts_.back(), FrameVerdict::BadMic);
    EXPECT_EQ(sentByStation_.size(), 1u);  // message 2 only
    EXPECT_TRUE(installed_.empty());
    EXPECT_EQ(station_->state(), Supplicant::State::WaitingForMessage3);
  }
}

TEST_P(Handshake, GroupRekeyInstallsANewKeyOnceAndNeverTheSameKeyTwice) {
  Build();
  ap_->Start();
  Pump();
  ASSERT_EQ(Installed(KeyKind::Group).size(), 1u);

  GroupKey next{2, true, SecretBytes(GetParam().groupKeyLength, 0x6b)};
  ASSERT_TRUE(ap_->RekeyGroup(next));
  Pump();
  ExpectBothSidesHoldTheSameKeys();
  const auto group = Installed(KeyKind::Group);
  ASSERT_EQ(group.size(), 2u);
  EXPECT_EQ(ToHex(group[1].key), ToHex(next.key));
  EXPECT_EQ(group[1].keyIndex, 2);
  EXPECT_EQ(established_.size(), 2u);

  // The same key handed out again: answered, so the authenticator completes, but not reinstalled.
  ASSERT_TRUE(ap_->RekeyGroup(next));
  Pump();
  EXPECT_EQ(ap_->state(), Authenticator::State::Established);
  EXPECT_EQ(established_.size(), 3u);
  EXPECT_EQ(Installed(KeyKind::Group).size(), 2u);
  EXPECT_EQ(Installed(KeyKind::Pairwise).size(), 1u);

  // A forged group message is dropped without an answer.
  ASSERT_TRUE(ap_->RekeyGroup({1, true, SecretBytes(GetParam().groupKeyLength, 0x33)}));
  Bytes forged = toStation_.front();
  toStation_.clear();
  forged[kKeyMicOffset] ^= 0x80;
  const std::size_t sentBefore = sentByStation_.size();
  EXPECT_EQ(station_->OnFrame(forged), FrameVerdict::BadMic);
  EXPECT_EQ(sentByStation_.size(), sentBefore);
  EXPECT_EQ(Installed(KeyKind::Group).size(), 2u);
}

TEST_P(Handshake, UnauthenticatedMessage1DoesNotReplaceTheEstablishedKeys) {
  Build();
  ap_->Start();
  Pump();
  ASSERT_EQ(station_->state(), Supplicant::State::Established);

  // Anyone can send a message 1; the PTK in use must survive until a message 3 proves a new one.
  EapolKey bogus = Parse(sentByAp_[0]);
  bogus.replayCounter = 100;
  bogus.nonce.fill(0x99);
  EXPECT_EQ(station_->OnFrame(SerializeEapolKey(bogus)), FrameVerdict::Accepted);
  toAp_.clear();

  ASSERT_TRUE(ap_->RekeyGroup({2, true, SecretBytes(GetParam().groupKeyLength, 0x6b)}));
  Pump();
  EXPECT_EQ(ap_->state(), Authenticator::State::Established);
  EXPECT_EQ(Installed(KeyKind::Group).size(), 2u);
}

TEST_P(Handshake, AllZeroGroupKeyIsNeverInstalled) {
  Build(kPassPhrase, SecretBytes(GetParam().groupKeyLength, 0));
  ap_->Start();
  Pump();
  EXPECT_TRUE(Installed(KeyKind::Group).empty());
  EXPECT_NE(ap_->state(), Authenticator::State::Established);
  EXPECT_EQ(stationVerdicts_.back(), FrameVerdict::BadKeyData);
}

// The suite's element with another pairwise cipher: TKIP in place of CCMP, WEP-40 in place of TKIP.
Bytes WithOtherPairwiseCipher(Bytes element) {
  const std::size_t at = element[0] == kElementIdRsn ? 13 : 17;
  element[at] = element[at] == 4 ? 2 : 1;
  return element;
}

TEST_P(Handshake, Message3MustRepeatTheElementTheBeaconAnnounced) {
  // A message 3 announcing a weaker pairwise cipher than the beacon did (a downgrade): refused.
  message3Element_ = WithOtherPairwiseCipher(FromHex(GetParam().element));
  Build();
  ap_->Start();
  Pump();
  EXPECT_EQ(stationVerdicts_.back(), FrameVerdict::ElementMismatch);
  EXPECT_TRUE(installed_.empty());
  EXPECT_EQ(sentByStation_.size(), 1u);  // message 2 only
  message3Element_.clear();

  // Without the beacon's element message 3 cannot be checked; once it is learnt, the access
  // point's retransmission is taken.
  Build();
  BuildStation(kPassPhrase, {});
  ap_->Start();
  Pump();
  EXPECT_EQ(stationVerdicts_.back(), FrameVerdict::ElementUnknown);
  EXPECT_TRUE(installed_.empty());
  station_->LearnAuthenticatorElement(element_);
  ap_->Tick();
  Pump();
  ExpectBothSidesHoldTheSameKeys();

  // The access point sees another element in message 2 than in the association request.
  Build();
  element_ = FromHex("30140100000fac040100000fac040100000fac010000");
  ap_->Start();
  Pump();
  EXPECT_EQ(apVerdicts_.back(), FrameVerdict::ElementMismatch);
  EXPECT_EQ(failures_, std::vector<AuthenticatorFailure>{AuthenticatorFailure::StationElementMismatch});
}

// A frame the access point sent, with another replay counter and signed again with its keys.
Bytes WithReplayCounter(const Bytes& frame, std::uint64_t counter, const Kck& kck, DescriptorVersion version) {
  ParsedEapolKey parsed;
  EXPECT_EQ(ParseEapolKey(frame, parsed), EapolParseError::None);
  parsed.key.replayCounter = counter;
  Bytes out;
  EXPECT_TRUE(SerializeSignedEapolKey(parsed.key, version, kck, out));
  return out;
}

TEST_P(Handshake, OnlyCountersNewerThanTheLastAcceptedArePassed) {
  enum class Frame { Message3, GroupMessage };
  struct Case {
    const char* name;
    Frame frame;
    int offset;  // from the last counter the station accepted
    FrameVerdict expected;
  };
  const Case cases[] = {
      {"message 3, lower", Frame::Message3, -1, FrameVerdict::Replayed},
      {"message 3, equal", Frame::Message3, 0, FrameVerdict::Replayed},
      {"message 3, higher", Frame::Message3, 1, FrameVerdict::Accepted},
      {"group message, lower", Frame::GroupMessage, -1, FrameVerdict::Replayed},
      {"group message, equal", Frame::GroupMessage, 0, FrameVerdict::Replayed},
      {"group message, higher", Frame::GroupMessage, 1, FrameVerdict::Accepted},
  };
  const DescriptorVersion version = DescriptorVersionOf(GetParam().suite.pairwise);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Build();
    ap_->Start();
    Pump();
    ASSERT_EQ(station_->state(), Supplicant::State::Established);
    const std::uint64_t lastAccepted = Parse(sentByStation_.back()).replayCounter;
    Bytes original;
    if (c.frame == Frame::Message3) {
      original = *std::find_if(sentByAp_.begin(), sentByAp_.end(), IsMessage3);
    } else {
      ASSERT_TRUE(ap_->RekeyGroup({2, true, SecretBytes(GetParam().groupKeyLength, 0x6b)}));
      original = toStation_.front();
      toStation_.clear();
    }
    const Bytes frame = WithReplayCounter(original, lastAccepted + c.offset, established_.back().ptk.kck, version);
    const std::size_t sentBefore = sentByStation_.size();
    EXPECT_EQ(station_->OnFrame(frame), c.expected);
    EXPECT_EQ(sentByStation_.size(), sentBefore + (c.expected == FrameVerdict::Accepted ? 1 : 0));
  }
}

Bytes WithZeroMic(Bytes frame) {
  std::fill_n(frame.begin() + kKeyMicOffset, Mic{}.size(), 0);
  return frame;
}

TEST_P(Handshake, FailingCryptographyRefusesEveryFrame) {
  {
    Build();
    FailingProvider failing;
    ap_->Start();
    Pump();
    EXPECT_EQ(stationVerdicts_, std::vector<FrameVerdict>{FrameVerdict::CryptoFailure});
    EXPECT_TRUE(sentByStation_.empty()) << "no message 2 without a PTK and its MIC";
  }

  // A message 3 (genuine, or with the all-zero MIC a failed computation would yield) arriving
  // once the primitives fail: no answer, no keys.
  Build();
  Bytes message3;
  loseToStation_ = [&](const Bytes& frame) {
    if (!IsMessage3(frame)) return false;
    message3 = frame;
    return true;
  };
  ap_->Start();
  Pump();
  ASSERT_FALSE(message3.empty());
  {
    FailingProvider failing;
    EXPECT_EQ(station_->OnFrame(WithZeroMic(message3)), FrameVerdict::BadMic);
    EXPECT_EQ(station_->OnFrame(message3), FrameVerdict::BadMic);
  }
  EXPECT_EQ(sentByStation_.size(), 1u);
  EXPECT_TRUE(installed_.empty());

  // The same for a group key message once established.
  loseToStation_ = nullptr;
  toStation_.push_back(message3);
  Pump();
  ExpectBothSidesHoldTheSameKeys();
  ASSERT_TRUE(ap_->RekeyGroup({2, true, SecretBytes(GetParam().groupKeyLength, 0x6b)}));
  const Bytes group = toStation_.front();
  const std::size_t installs = installed_.size();
  {
    FailingProvider failing;
    EXPECT_EQ(station_->OnFrame(WithZeroMic(group)), FrameVerdict::BadMic);
  }
  EXPECT_EQ(installed_.size(), installs);
}

INSTANTIATE_TEST_SUITE_P(Suites, Handshake, ::testing::ValuesIn(kSuites),
                         [](const ::testing::TestParamInfo<SuiteCase>& info) { return info.param.name; });

}  // namespace
}  // namespace wpa
