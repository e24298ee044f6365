#pragma once
// The user's certificate store: personal certificates, each with its private key when one came
// with it, and the authority certificates the user trusts. One folder (mode 0700) with a folder
// of personal entries and one of authorities; every entry is a PEM file named by the
// certificate's SHA-256 fingerprint, a private key a PEM file beside it (mode 0600).

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "libs/dot1x/wpa/bytes.h"

struct x509_st;

namespace certstore {

enum class Kind { Personal, Authority };

struct Entry {
  std::string id;       // hexadecimal SHA-256 fingerprint
  std::string subject;  // as people read it: the common name, else the whole name (UTF-8)
  std::string issuer;
  std::string notAfter; // "2027-12-11"
  bool hasKey = false;  // personal entries: the private key is in the store (it can be exported)
};

struct ImportResult {
  bool ok = false;
  std::string error;          // why nothing was imported; never quotes key material or passwords
  std::vector<Entry> added;   // the entries the import made (an entry already there counts again)
  bool wrongPassword = false; // a PKCS#12 file that the password does not open
};

class CertStore {
 public:
  explicit CertStore(std::filesystem::path folder);

  // Entries in a stable order: by subject, then issuer, then fingerprint.
  std::vector<Entry> List(Kind kind) const;

  // A PKCS#12 file (certificate, key, and authority certificates, which are not trusted by this)
  // or PEM text with a certificate and optionally its private key. `keyFile` may name a separate
  // PEM key file. The key must belong to the certificate.
  ImportResult ImportPersonal(wpa::ByteSpan file, const std::string& password, wpa::ByteSpan keyFile = {});
  // PEM or DER authority certificates; only certificates of authorities are taken.
  ImportResult ImportAuthorities(wpa::ByteSpan file);
  [[nodiscard]] bool Remove(Kind kind, const std::string& id);

  // The first personal entry with this subject and issuer as people read them.
  std::optional<Entry> FindPersonal(const std::string& subject, const std::string& issuer) const;
  // The e-mail address or user principal name of a personal certificate (the principal name
  // first); empty when it has neither.
  std::string SubjectAltName(const Entry& entry) const;

  // The files of the export folder that the supplicant's configuration names.
  static constexpr const char* kPersonalExport = "Orvex.p12";
  static constexpr const char* kCertificateFile = "Orvex.pem";
  static constexpr const char* kKeyFile = "Orvex_key.pem";
  static constexpr const char* kAuthorityExport = "caroot.p7b";
  static constexpr const char* kAuthorityFile = "caroot.pem";
  // The password of the exported key files, the one the supplicant hands to TLS.
  static constexpr const char* kExportPassword = "Orvex";

  // Certificate and key of a personal entry as a PKCS#12 file in `exportFolder` (created 0700,
  // files 0600). False when the entry has no key or writing fails.
  [[nodiscard]] bool ExportPersonal(const Entry& entry, const std::filesystem::path& exportFolder) const;
  // The exported PKCS#12 file converted to the PEM certificate and encrypted PEM key TLS reads.
  [[nodiscard]] static bool ConvertPersonal(const std::filesystem::path& exportFolder);
  // Every trusted authority, the issuer of `entry` first when the store has it, as a PKCS#7 file;
  // an empty store gives an empty file (validation then trusts nobody).
  [[nodiscard]] bool ExportAuthorities(const std::optional<Entry>& entry, const std::filesystem::path& exportFolder) const;
  [[nodiscard]] static bool ConvertAuthorities(const std::filesystem::path& exportFolder);

 private:
  std::filesystem::path FolderOf(Kind kind) const;
  // Writes the certificate's entry file, making the folders private first.
  std::optional<Entry> WriteCertificate(Kind kind, x509_st* cert, std::string& error) const;

  std::filesystem::path folder_;
};

}  // namespace certstore
