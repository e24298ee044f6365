#include "ui/security/certificate_list.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace ui {
namespace {

constexpr std::size_t kIssuerAt = DOT1X_CERT_LIST_ENTRY_SIZE / 2;
constexpr std::size_t kTextUnits = kIssuerAt / sizeof(char16_t);

// A terminated UTF-16 text of at most `units` units, in the library's byte order.
std::u16string ReadText(std::span<const std::uint8_t> bytes, std::size_t units) {
  std::u16string text;
  for (std::size_t i = 0; i < units && (i + 1) * sizeof(char16_t) <= bytes.size(); ++i) {
    char16_t unit = 0;
    std::memcpy(&unit, bytes.data() + i * sizeof(char16_t), sizeof unit);
    if (unit == 0) break;
    text.push_back(unit);
  }
  return text;
}

}  // namespace

std::vector<Certificate> ReadCertificateList(
    std::span<const std::uint8_t, DOT1X_CERT_LIST_SIZE> list, int count) {
  std::vector<Certificate> certificates;
  const int entries = std::clamp(count, 0, DOT1X_CERT_LIST_MAX_ENTRIES);
  for (int i = 0; i < entries; ++i) {
    const std::span<const std::uint8_t> entry = list.subspan(
        static_cast<std::size_t>(i) * DOT1X_CERT_LIST_ENTRY_SIZE, DOT1X_CERT_LIST_ENTRY_SIZE);
    certificates.push_back({ReadText(entry.first(kIssuerAt), kTextUnits),
                            ReadText(entry.subspan(kIssuerAt), kTextUnits)});
  }
  return certificates;
}

std::vector<Certificate> ListCertificates(security::SupplicantLibrary* library) {
  if (library == nullptr) return {};
  // Half a megabyte: kept off the stack.
  std::vector<std::uint8_t> list(DOT1X_CERT_LIST_SIZE, 0);
  const std::int32_t count =
      library->getMyCertList(std::span<std::uint8_t, DOT1X_CERT_LIST_SIZE>(list));
  return ReadCertificateList(std::span<const std::uint8_t, DOT1X_CERT_LIST_SIZE>(list), count);
}

std::u16string SubjectAltName(security::SupplicantLibrary* library,
                              const Certificate& certificate) {
  if (library == nullptr) return {};
  std::array<char16_t, DOT1X_SUBJECT_ALT_NAME_UNITS> name{};
  if (library->getMyCertSubjectAltName(certificate.subject.c_str(), certificate.issuer.c_str(),
                                       name) != 0) {
    return {};
  }
  return std::u16string(name.data(), std::find(name.begin(), name.end(), u'\0'));
}

std::u16string CertificateEntry(std::u16string_view subject, std::u16string_view issuer) {
  std::u16string entry(subject);
  entry += u" -issued by ";
  entry += issuer;
  return entry;
}

}  // namespace ui
