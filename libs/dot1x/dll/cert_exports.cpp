// The certificate functions of the supplicant library, on the user's certificate store. They
// share no state with the EAP and key functions, so the dialog may list certificates while the
// supplicant thread authenticates.

#include <openssl/asn1.h>
#include <openssl/err.h>

#include <cstring>
#include <optional>
#include <string>

#include "libs/dot1x/certstore/cert_store.h"
#include "libs/dot1x/certstore/store_paths.h"
#include "libs/dot1x/include/dot1x_dll.h"

namespace {

// Subjects and issuers have 256 units of room, terminator included.
constexpr std::size_t kNameUnits = 255;

// UTF-16 text (terminated, at most `maxUnits` read) to UTF-8.
std::string Utf8Of(const uint16_t* text, std::size_t maxUnits) {
  if (text == nullptr) return {};
  std::string big;  // UCS-2 big-endian, as OpenSSL's BMP strings are
  for (std::size_t i = 0; i < maxUnits && text[i] != 0; ++i) {
    big.push_back(static_cast<char>(text[i] >> 8));
    big.push_back(static_cast<char>(text[i] & 0xFF));
  }
  ASN1_STRING* out = nullptr;
  if (ASN1_mbstring_copy(&out, reinterpret_cast<const unsigned char*>(big.data()), static_cast<int>(big.size()),
                         MBSTRING_BMP, B_ASN1_UTF8STRING) < 0) {
    ERR_clear_error();
    return {};
  }
  std::string utf8(reinterpret_cast<const char*>(ASN1_STRING_get0_data(out)), static_cast<std::size_t>(ASN1_STRING_length(out)));
  ASN1_STRING_free(out);
  return utf8;
}

// UTF-8 text into `room` units of UTF-16, terminated; characters beyond the 16-bit range and
// anything past the room are dropped.
void PutUtf16(const std::string& utf8, uint16_t* out, std::size_t room) {
  std::size_t n = 0;
  ASN1_STRING* bmp = nullptr;
  if (ASN1_mbstring_copy(&bmp, reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()),
                         MBSTRING_UTF8, B_ASN1_BMPSTRING) >= 0) {
    const unsigned char* data = ASN1_STRING_get0_data(bmp);
    const std::size_t units = static_cast<std::size_t>(ASN1_STRING_length(bmp)) / 2;
    for (; n < units && n + 1 < room; ++n) out[n] = static_cast<uint16_t>(data[2 * n] << 8 | data[2 * n + 1]);
    ASN1_STRING_free(bmp);
  } else {
    ERR_clear_error();
  }
  out[n] = 0;
}

certstore::CertStore Store() { return certstore::CertStore(certstore::StoreFolder()); }

std::optional<certstore::Entry> Named(const uint16_t* subject, const uint16_t* issuer) {
  return Store().FindPersonal(Utf8Of(subject, kNameUnits), Utf8Of(issuer, kNameUnits));
}

}  // namespace

extern "C" {

int32_t getMyCertList(uint8_t* list) {
  if (list == nullptr) return 0;
  const auto entries = Store().List(certstore::Kind::Personal);
  int32_t n = 0;
  for (const auto& e : entries) {
    if (n == DOT1X_CERT_LIST_MAX_ENTRIES) break;
    uint16_t names[2][kNameUnits + 1] = {};
    PutUtf16(e.subject, names[0], kNameUnits + 1);
    PutUtf16(e.issuer, names[1], kNameUnits + 1);
    std::memcpy(list + DOT1X_CERT_LIST_ENTRY_SIZE * n, names[0], sizeof names[0]);
    std::memcpy(list + DOT1X_CERT_LIST_ENTRY_SIZE * n + 512, names[1], sizeof names[1]);
    ++n;
  }
  return n;
}

int32_t getMyCertSubjectAltName(const uint16_t* subject, const uint16_t* issuer, uint16_t* out) {
  if (out == nullptr) return -1;
  out[0] = 0;
  const auto entry = Named(subject, issuer);
  if (!entry) return -1;
  const std::string name = Store().SubjectAltName(*entry);
  if (name.empty()) return -1;
  PutUtf16(name, out, DOT1X_SUBJECT_ALT_NAME_UNITS);
  return 0;
}

int32_t genMyCertFile(const uint16_t* subject, const uint16_t* issuer) {
  const auto entry = Named(subject, issuer);
  if (!entry || !entry->hasKey) return -1;
  return Store().ExportPersonal(*entry, certstore::ExportFolder()) ? 0 : -1;
}

int32_t genMySSLFile(void) { return certstore::CertStore::ConvertPersonal(certstore::ExportFolder()) ? 0 : -1; }

int32_t genROOTCertFile(const uint16_t* subject, const uint16_t* issuer) {
  return Store().ExportAuthorities(Named(subject, issuer), certstore::ExportFolder()) ? 0 : -1;
}

int32_t genROOTSSLFile(void) { return certstore::CertStore::ConvertAuthorities(certstore::ExportFolder()) ? 0 : -1; }

}  // extern "C"
