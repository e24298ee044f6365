#include "security/loaded_supplicant_library.h"

#include <system_error>
#include <utility>

#include "platform/dynlib/dynamic_library.h"
#include "security/contract_functions.h"

namespace security {
namespace {

struct Functions {
#define DOT1X_FUNCTION_FIELD(name) decltype(&::name) name = nullptr;
  DOT1X_SUPPLICANT_CONTRACT(DOT1X_FUNCTION_FIELD)
#undef DOT1X_FUNCTION_FIELD
};

template <typename Function>
bool Resolve(const platform::DynamicLibrary& library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(library.Symbol(name));
  return function != nullptr;
}

// The C side spells UTF-16 units as uint16_t.
const std::uint16_t* Units(const char16_t* text) { return reinterpret_cast<const std::uint16_t*>(text); }

class DynamicSupplicantLibrary final : public SupplicantLibrary {
 public:
  DynamicSupplicantLibrary(std::unique_ptr<platform::DynamicLibrary> library, const Functions& functions)
      : library_(std::move(library)), f_(functions) {}

  std::int32_t getMyCertList(CertListOut list) override { return f_.getMyCertList(list.data()); }
  std::int32_t getMyCertSubjectAltName(const char16_t* subject, const char16_t* issuer, AltNameOut out) override {
    return f_.getMyCertSubjectAltName(Units(subject), Units(issuer), reinterpret_cast<std::uint16_t*>(out.data()));
  }
  std::int32_t genMyCertFile(const char16_t* subject, const char16_t* issuer) override {
    return f_.genMyCertFile(Units(subject), Units(issuer));
  }
  std::int32_t genMySSLFile() override { return f_.genMySSLFile(); }
  std::int32_t genROOTCertFile(const char16_t* subject, const char16_t* issuer) override {
    return f_.genROOTCertFile(Units(subject), Units(issuer));
  }
  std::int32_t genROOTSSLFile() override { return f_.genROOTSSLFile(); }

  std::int32_t do_eapol_init(AdapterHandle& adapter, std::int32_t reserved, MacIn ownMac, MacIn bssid,
                             EapBlockIn eapBlock) override {
    return f_.do_eapol_init(&adapter, reserved, ownMac.data(), bssid.data(), eapBlock.data());
  }
  std::int32_t do_eapol_run() override { return f_.do_eapol_run(); }
  std::int32_t do_eapol_halt() override { return f_.do_eapol_halt(); }
  std::int32_t Get_EAP_Derived_Key(EapKeyOut out) override { return f_.Get_EAP_Derived_Key(out.data()); }

  std::int32_t Get_PSK_Key_32byte(const char* passphrase, std::span<const std::uint8_t> ssid,
                                  std::int32_t iterations, std::span<std::uint8_t> out) override {
    // An SSID or output beyond the int range is no real call; the library refuses length -1.
    const auto length = [](std::size_t n) { return n <= 0x7FFFFFFF ? static_cast<std::int32_t>(n) : -1; };
    return f_.Get_PSK_Key_32byte(passphrase, ssid.data(), length(ssid.size()), iterations, out.data(),
                                 length(out.size()));
  }
  std::int32_t Get_PMKID(PmkIn pmk, MacIn bssid, MacIn ownMac, PmkidOut out) override {
    return f_.Get_PMKID(pmk.data(), bssid.data(), ownMac.data(), out.data());
  }

  std::int32_t do_eapol_start(MacIn bssid, MacIn ownMac) override {
    return f_.do_eapol_start(bssid.data(), ownMac.data());
  }
  std::int32_t do_key_negotiation_init(AdapterHandle& adapter, KeyContext& context) override {
    return f_.do_key_negotiation_init(&adapter, &context);
  }
  std::int32_t do_key_negotiation_run(KeyContext& context) override { return f_.do_key_negotiation_run(&context); }

  std::int32_t Shutdown_Dot1x_Module() override { return f_.Shutdown_Dot1x_Module(); }

 private:
  std::unique_ptr<platform::DynamicLibrary> library_;
  Functions f_;
};

}  // namespace

SupplicantLibraryLoad LoadSupplicantLibrary(const std::filesystem::path& programFolder) {
  const std::string fileName = platform::DynamicLibraryFileName(kSupplicantLibraryBaseName);
  const std::filesystem::path besideProgram = programFolder / fileName;

  platform::DynamicLibraryOpen opened;
  std::error_code ignored;
  if (std::filesystem::exists(besideProgram, ignored)) {
    // A copy beside the program that fails to load is reported as it is, not replaced quietly.
    opened = platform::OpenDynamicLibrary(besideProgram);
    if (!opened.library) return {nullptr, besideProgram.string() + ": cannot be loaded: " + opened.error};
  } else {
    opened = platform::OpenDynamicLibrary(fileName);
    if (!opened.library) {
      return {nullptr, fileName + ": library not found in " + programFolder.string() +
                           " nor on the library search path (" + opened.error + ")"};
    }
  }

  Functions functions;
#define DOT1X_RESOLVE_FUNCTION(name)                                  \
  if (!Resolve(*opened.library, #name, functions.name)) {             \
    return {nullptr, fileName + ": function " #name " not found"};    \
  }
  DOT1X_SUPPLICANT_CONTRACT(DOT1X_RESOLVE_FUNCTION)
#undef DOT1X_RESOLVE_FUNCTION

  return {std::make_unique<DynamicSupplicantLibrary>(std::move(opened.library), functions), {}};
}

}  // namespace security
