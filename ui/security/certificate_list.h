#pragma once
// The user's personal certificates as the supplicant library lists them. The list is the
// library's bytes: its count is capped at the list's 500 entries and every text ends at its
// terminator or at the end of its field, whichever comes first.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "security/supplicant_library.h"

namespace ui {

struct Certificate {
  std::u16string subject;
  std::u16string issuer;
};

// The first `count` entries of a list getMyCertList filled.
std::vector<Certificate> ReadCertificateList(
    std::span<const std::uint8_t, DOT1X_CERT_LIST_SIZE> list, int count);

// Asks the library for the list; none without a library.
std::vector<Certificate> ListCertificates(security::SupplicantLibrary* library);

// The certificate's subject alternative name; empty without a library or when it has none.
std::u16string SubjectAltName(security::SupplicantLibrary* library, const Certificate& certificate);

// How the certificate box shows a certificate: "subject -issued by issuer".
std::u16string CertificateEntry(std::u16string_view subject, std::u16string_view issuer);

}  // namespace ui
