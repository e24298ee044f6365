#include "libs/dot1x/certstore/cert_store.h"

#include <openssl/asn1.h>
#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/pkcs7.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <algorithm>
#include <cstdio>
#include <cctype>
#include <ctime>
#include <functional>
#include <tuple>
#include <memory>

#include "libs/dot1x/certstore/store_paths.h"

namespace certstore {
namespace {

namespace fs = std::filesystem;

template <typename T, void (*F)(T*)>
struct Free {
  void operator()(T* p) const { F(p); }
};
using Cert = std::unique_ptr<X509, Free<X509, X509_free>>;
using Key = std::unique_ptr<EVP_PKEY, Free<EVP_PKEY, EVP_PKEY_free>>;
using Bio = std::unique_ptr<BIO, Free<BIO, BIO_free_all>>;
using P12 = std::unique_ptr<PKCS12, Free<PKCS12, PKCS12_free>>;
using P7 = std::unique_ptr<PKCS7, Free<PKCS7, PKCS7_free>>;

// No certificate file of ours comes near this; a larger one is not read.
constexpr std::size_t kMaxFile = 1 << 20;

Bio MemoryOf(wpa::ByteSpan bytes) {
  return Bio(BIO_new_mem_buf(bytes.data(), static_cast<int>(bytes.size())));
}

wpa::Bytes Drain(BIO* bio) {
  char* data = nullptr;
  const long n = BIO_get_mem_data(bio, &data);
  return n > 0 ? wpa::Bytes(data, data + n) : wpa::Bytes{};
}

bool LooksLikePem(wpa::ByteSpan bytes) {
  static constexpr char kBegin[] = "-----BEGIN ";
  const auto it = std::search(bytes.begin(), bytes.end(), kBegin, kBegin + sizeof kBegin - 1);
  return it != bytes.end();
}

int PasswordCallback(char* buffer, int size, int, void* userdata) {
  const auto* password = static_cast<const std::string*>(userdata);
  const int n = static_cast<int>(std::min<std::size_t>(password->size(), static_cast<std::size_t>(size)));
  std::copy_n(password->data(), n, buffer);
  return n;
}

std::vector<Cert> PemCertificates(wpa::ByteSpan bytes) {
  std::vector<Cert> out;
  Bio bio = MemoryOf(bytes);
  while (X509* cert = PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr)) out.emplace_back(cert);
  ERR_clear_error();
  return out;
}

Key PemKey(wpa::ByteSpan bytes, const std::string& password) {
  Bio bio = MemoryOf(bytes);
  std::string copy = password;
  Key key(PEM_read_bio_PrivateKey(bio.get(), nullptr, &PasswordCallback, &copy));
  OPENSSL_cleanse(copy.data(), copy.size());
  ERR_clear_error();
  return key;
}

std::string NameText(const X509_NAME* name) {
  const int at = X509_NAME_get_index_by_NID(name, NID_commonName, -1);
  if (at >= 0) {
    unsigned char* utf8 = nullptr;
    const int n = ASN1_STRING_to_UTF8(&utf8, X509_NAME_ENTRY_get_data(X509_NAME_get_entry(name, at)));
    if (n >= 0) {
      std::string out(reinterpret_cast<char*>(utf8), static_cast<std::size_t>(n));
      OPENSSL_free(utf8);
      if (!out.empty()) return out;
    }
  }
  Bio bio(BIO_new(BIO_s_mem()));
  X509_NAME_print_ex(bio.get(), name, 0, XN_FLAG_RFC2253 & ~ASN1_STRFLGS_ESC_MSB);
  const wpa::Bytes text = Drain(bio.get());
  return std::string(text.begin(), text.end());
}

std::string Fingerprint(X509* cert) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned length = 0;
  if (X509_digest(cert, EVP_sha256(), digest, &length) != 1) return {};
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (unsigned i = 0; i < length; ++i) {
    out.push_back(kHex[digest[i] >> 4]);
    out.push_back(kHex[digest[i] & 15]);
  }
  return out;
}

Entry EntryOf(X509* cert) {
  Entry e;
  e.id = Fingerprint(cert);
  e.subject = NameText(X509_get_subject_name(cert));
  e.issuer = NameText(X509_get_issuer_name(cert));
  std::tm tm{};
  if (ASN1_TIME_to_tm(X509_get0_notAfter(cert), &tm) == 1) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    e.notAfter = text;
  }
  return e;
}

bool IsAuthority(X509* cert) { return X509_check_ca(cert) != 0; }

wpa::Bytes PemOfCertificate(X509* cert) {
  Bio bio(BIO_new(BIO_s_mem()));
  if (PEM_write_bio_X509(bio.get(), cert) != 1) return {};
  return Drain(bio.get());
}

Cert ReadCertificateFile(const fs::path& file) {
  wpa::Bytes bytes;
  if (!ReadFile(file, kMaxFile, bytes)) return nullptr;
  auto certs = PemCertificates(bytes);
  return certs.empty() ? nullptr : std::move(certs.front());
}

bool WriteBioFile(const fs::path& file, const std::function<bool(BIO*)>& write) {
  Bio bio(BIO_new(BIO_s_mem()));
  if (!bio || !write(bio.get())) return false;
  wpa::Bytes bytes = Drain(bio.get());
  const bool ok = WritePrivateFile(file, bytes);
  OPENSSL_cleanse(bytes.data(), bytes.size());
  return ok;
}

}  // namespace

CertStore::CertStore(fs::path folder) : folder_(std::move(folder)) {}

fs::path CertStore::FolderOf(Kind kind) const {
  switch (kind) {
    case Kind::Personal:
      return folder_ / "personal";
    case Kind::Authority:
      return folder_ / "authorities";
  }
  return folder_;
}

std::vector<Entry> CertStore::List(Kind kind) const {
  std::vector<Entry> out;
  std::error_code ec;
  for (const auto& item : fs::directory_iterator(FolderOf(kind), ec)) {
    if (item.path().extension() != ".pem") continue;
    Cert cert = ReadCertificateFile(item.path());
    if (!cert) continue;
    Entry e = EntryOf(cert.get());
    // A file renamed by hand is not the entry it claims to be.
    if (e.id != item.path().stem().string()) continue;
    e.hasKey = kind == Kind::Personal && fs::exists(fs::path(item.path()).replace_extension(".key"), ec);
    out.push_back(std::move(e));
  }
  std::sort(out.begin(), out.end(), [](const Entry& a, const Entry& b) {
    return std::tie(a.subject, a.issuer, a.id) < std::tie(b.subject, b.issuer, b.id);
  });
  return out;
}

ImportResult CertStore::ImportPersonal(wpa::ByteSpan file, const std::string& password, wpa::ByteSpan keyFile) {
  ImportResult result;
  Cert cert;
  Key key;
  if (LooksLikePem(file)) {
    auto certs = PemCertificates(file);
    if (!certs.empty()) cert = std::move(certs.front());
    key = PemKey(keyFile.empty() ? file : keyFile, password);
    if (!key && !keyFile.empty()) {
      result.error = "the key file holds no private key that this password opens";
      return result;
    }
  } else {
    const unsigned char* at = file.data();
    P12 p12(d2i_PKCS12(nullptr, &at, static_cast<long>(file.size())));
    if (!p12) {
      result.error = "neither a PEM nor a PKCS#12 file";
      ERR_clear_error();
      return result;
    }
    if (PKCS12_verify_mac(p12.get(), password.c_str(), static_cast<int>(password.size())) != 1) {
      result.error = "the password does not open the PKCS#12 file";
      result.wrongPassword = true;
      ERR_clear_error();
      return result;
    }
    EVP_PKEY* k = nullptr;
    X509* c = nullptr;
    STACK_OF(X509)* chain = nullptr;
    const bool parsed = PKCS12_parse(p12.get(), password.c_str(), &k, &c, &chain) == 1;
    sk_X509_pop_free(chain, X509_free);
    key.reset(k);
    cert.reset(c);
    ERR_clear_error();
    if (!parsed) {
      result.error = "the PKCS#12 file cannot be read";
      return result;
    }
  }
  if (!cert) {
    result.error = "the file holds no certificate";
    return result;
  }
  if (key && X509_check_private_key(cert.get(), key.get()) != 1) {
    ERR_clear_error();
    result.error = "the private key does not belong to the certificate";
    return result;
  }
  const fs::path folder = FolderOf(Kind::Personal);
  auto written = WriteCertificate(Kind::Personal, cert.get(), result.error);
  if (!written) return result;
  Entry e = std::move(*written);
  if (key) {
    const bool written = WriteBioFile(folder / (e.id + ".key"), [&](BIO* bio) {
      return PEM_write_bio_PrivateKey(bio, key.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1;
    });
    if (!written) {
      result.error = "the store cannot be written";
      return result;
    }
  }
  e.hasKey = key != nullptr || fs::exists(folder / (e.id + ".key"));
  result.ok = true;
  result.added.push_back(std::move(e));
  return result;
}

ImportResult CertStore::ImportAuthorities(wpa::ByteSpan file) {
  ImportResult result;
  std::vector<Cert> certs;
  if (LooksLikePem(file)) {
    certs = PemCertificates(file);
  } else {
    const unsigned char* at = file.data();
    if (X509* c = d2i_X509(nullptr, &at, static_cast<long>(file.size()))) certs.emplace_back(c);
    ERR_clear_error();
  }
  for (const Cert& cert : certs) {
    if (!IsAuthority(cert.get())) continue;
    auto written = WriteCertificate(Kind::Authority, cert.get(), result.error);
    if (!written) return result;
    result.added.push_back(std::move(*written));
  }
  result.ok = !result.added.empty();
  if (!result.ok) result.error = certs.empty() ? "the file holds no certificate" : "the file holds no authority certificate";
  return result;
}

std::optional<Entry> CertStore::WriteCertificate(Kind kind, X509* cert, std::string& error) const {
  const fs::path folder = FolderOf(kind);
  if (!MakePrivateFolder(folder_) || !MakePrivateFolder(folder)) {
    error = "the store folder " + folder.string() + " cannot be made private";
    return std::nullopt;
  }
  Entry e = EntryOf(cert);
  if (!WritePrivateFile(folder / (e.id + ".pem"), PemOfCertificate(cert))) {
    error = "the store cannot be written";
    return std::nullopt;
  }
  return e;
}

bool CertStore::Remove(Kind kind, const std::string& id) {
  // Fingerprints only: a name from outside must not reach another file.
  if (id.empty() || !std::all_of(id.begin(), id.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); })) {
    return false;
  }
  std::error_code ec;
  const fs::path base = FolderOf(kind) / id;
  const bool removed = fs::remove(fs::path(base).replace_extension(".pem"), ec);
  fs::remove(fs::path(base).replace_extension(".key"), ec);
  return removed;
}

std::optional<Entry> CertStore::FindPersonal(const std::string& subject, const std::string& issuer) const {
  for (Entry& e : List(Kind::Personal)) {
    if (e.subject == subject && e.issuer == issuer) return std::move(e);
  }
  return std::nullopt;
}

std::string CertStore::SubjectAltName(const Entry& entry) const {
  Cert cert = ReadCertificateFile(FolderOf(Kind::Personal) / (entry.id + ".pem"));
  if (!cert) return {};
  auto* names = static_cast<GENERAL_NAMES*>(X509_get_ext_d2i(cert.get(), NID_subject_alt_name, nullptr, nullptr));
  if (names == nullptr) return {};
  std::string email;
  std::string principal;
  const ASN1_OBJECT* upn = OBJ_txt2obj("1.3.6.1.4.1.311.20.2.3", 1);
  for (int i = 0; i < sk_GENERAL_NAME_num(names); ++i) {
    const GENERAL_NAME* name = sk_GENERAL_NAME_value(names, i);
    if (name->type == GEN_EMAIL && email.empty()) {
      email.assign(reinterpret_cast<const char*>(ASN1_STRING_get0_data(name->d.rfc822Name)),
                   static_cast<std::size_t>(ASN1_STRING_length(name->d.rfc822Name)));
    } else if (name->type == GEN_OTHERNAME && principal.empty() && upn != nullptr &&
               OBJ_cmp(name->d.otherName->type_id, upn) == 0 && name->d.otherName->value->type == V_ASN1_UTF8STRING) {
      const ASN1_STRING* s = name->d.otherName->value->value.utf8string;
      principal.assign(reinterpret_cast<const char*>(ASN1_STRING_get0_data(s)), static_cast<std::size_t>(ASN1_STRING_length(s)));
    }
  }
  ASN1_OBJECT_free(const_cast<ASN1_OBJECT*>(upn));
  GENERAL_NAMES_free(names);
  return principal.empty() ? email : principal;
}

bool CertStore::ExportPersonal(const Entry& entry, const fs::path& exportFolder) const {
  const fs::path base = FolderOf(Kind::Personal) / entry.id;
  Cert cert = ReadCertificateFile(fs::path(base).replace_extension(".pem"));
  wpa::Bytes keyText;
  if (!cert || !ReadFile(fs::path(base).replace_extension(".key"), kMaxFile, keyText)) return false;
  Key key = PemKey(keyText, "");
  OPENSSL_cleanse(keyText.data(), keyText.size());
  if (!key || !MakePrivateFolder(exportFolder)) return false;
  P12 p12(PKCS12_create(kExportPassword, entry.subject.c_str(), key.get(), cert.get(), nullptr, 0, 0, 0, 0, 0));
  ERR_clear_error();
  if (!p12) return false;
  return WriteBioFile(exportFolder / kPersonalExport, [&](BIO* bio) { return i2d_PKCS12_bio(bio, p12.get()) == 1; });
}

bool CertStore::ConvertPersonal(const fs::path& exportFolder) {
  wpa::Bytes bytes;
  if (!ReadFile(exportFolder / kPersonalExport, kMaxFile, bytes)) return false;
  const unsigned char* at = bytes.data();
  P12 p12(d2i_PKCS12(nullptr, &at, static_cast<long>(bytes.size())));
  EVP_PKEY* k = nullptr;
  X509* c = nullptr;
  const bool parsed = p12 && PKCS12_parse(p12.get(), kExportPassword, &k, &c, nullptr) == 1;
  Key key(k);
  Cert cert(c);
  ERR_clear_error();
  if (!parsed || !key || !cert) return false;
  const bool certificate = WritePrivateFile(exportFolder / kCertificateFile, PemOfCertificate(cert.get()));
  const bool keyWritten = WriteBioFile(exportFolder / kKeyFile, [&](BIO* bio) {
    return PEM_write_bio_PKCS8PrivateKey(bio, key.get(), EVP_aes_256_cbc(), nullptr, 0, nullptr,
                                         const_cast<char*>(kExportPassword)) == 1;
  });
  return certificate && keyWritten;
}

bool CertStore::ExportAuthorities(const std::optional<Entry>& entry, const fs::path& exportFolder) const {
  std::vector<Cert> authorities;
  for (const Entry& e : List(Kind::Authority)) {
    if (Cert c = ReadCertificateFile(FolderOf(Kind::Authority) / (e.id + ".pem"))) authorities.push_back(std::move(c));
  }
  if (entry) {
    // The authority that issued the user's certificate first.
    if (Cert mine = ReadCertificateFile(FolderOf(Kind::Personal) / (entry->id + ".pem"))) {
      std::stable_partition(authorities.begin(), authorities.end(), [&](const Cert& a) {
        // Name and key identifier: another authority may carry the same name.
        return X509_check_issued(a.get(), mine.get()) == X509_V_OK;
      });
    }
  }
  P7 p7(PKCS7_new());
  bool ok = p7 && PKCS7_set_type(p7.get(), NID_pkcs7_signed) == 1 && PKCS7_content_new(p7.get(), NID_pkcs7_data) == 1;
  for (const Cert& a : authorities) ok = ok && PKCS7_add_certificate(p7.get(), a.get()) == 1;
  ERR_clear_error();
  if (!ok || !MakePrivateFolder(exportFolder)) return false;
  return WriteBioFile(exportFolder / kAuthorityExport, [&](BIO* bio) { return i2d_PKCS7_bio(bio, p7.get()) == 1; });
}

bool CertStore::ConvertAuthorities(const fs::path& exportFolder) {
  wpa::Bytes bytes;
  if (!ReadFile(exportFolder / kAuthorityExport, kMaxFile, bytes)) return false;
  const unsigned char* at = bytes.data();
  P7 p7(d2i_PKCS7(nullptr, &at, static_cast<long>(bytes.size())));
  ERR_clear_error();
  if (!p7 || PKCS7_type_is_signed(p7.get()) == 0) return false;
  STACK_OF(X509)* certs = p7->d.sign->cert;
  wpa::Bytes pem;
  for (int i = 0; certs != nullptr && i < sk_X509_num(certs); ++i) {
    const wpa::Bytes one = PemOfCertificate(sk_X509_value(certs, i));
    pem.insert(pem.end(), one.begin(), one.end());
  }
  return WritePrivateFile(exportFolder / kAuthorityFile, pem);
}

}  // namespace certstore
