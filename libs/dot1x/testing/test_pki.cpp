#include "libs/dot1x/testing/test_pki.h"

#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <stdexcept>

namespace dot1x::testing {
namespace {

namespace fs = std::filesystem;

template <typename T, void (*F)(T*)>
struct Deleter {
  void operator()(T* p) const { F(p); }
};
using Key = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY, EVP_PKEY_free>>;
using Cert = std::unique_ptr<X509, Deleter<X509, X509_free>>;
using Crl = std::unique_ptr<X509_CRL, Deleter<X509_CRL, X509_CRL_free>>;

void Check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("test PKI: ") + what);
}

Key NewKey() {
  Key key(EVP_EC_gen("P-256"));
  Check(key != nullptr, "key generation");
  return key;
}

struct Profile {
  std::string commonName;
  bool authority = false;
  const char* extendedUsage = nullptr;  // "serverAuth" or "clientAuth"
  std::string altNames;                 // subjectAltName value, e.g. "email:a@b"
  long notBeforeDays = -1;
  long notAfterDays = 365;
  long serial = 1;
};

void AddExtension(X509* cert, X509* issuer, int nid, const std::string& value) {
  X509V3_CTX ctx;
  X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
  X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value.c_str());
  Check(ext != nullptr && X509_add_ext(cert, ext, -1) == 1, "extension");
  X509_EXTENSION_free(ext);
}

Cert Issue(const Profile& p, EVP_PKEY* key, X509* issuer, EVP_PKEY* issuerKey) {
  Cert cert(X509_new());
  Check(cert != nullptr, "certificate");
  X509_set_version(cert.get(), 2);
  ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), p.serial);
  X509_gmtime_adj(X509_getm_notBefore(cert.get()), p.notBeforeDays * 86400);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), p.notAfterDays * 86400);
  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("Vuzideza Test"), -1, -1, 0);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(p.commonName.c_str()),
                             -1, -1, 0);
  X509* signer = issuer != nullptr ? issuer : cert.get();
  X509_set_issuer_name(cert.get(), X509_get_subject_name(signer));
  X509_set_pubkey(cert.get(), key);
  AddExtension(cert.get(), signer, NID_basic_constraints, p.authority ? "critical,CA:TRUE" : "critical,CA:FALSE");
  AddExtension(cert.get(), signer, NID_key_usage,
               p.authority ? "critical,keyCertSign,cRLSign" : "critical,digitalSignature,keyAgreement");
  AddExtension(cert.get(), signer, NID_subject_key_identifier, "hash");
  if (issuer != nullptr) AddExtension(cert.get(), signer, NID_authority_key_identifier, "keyid");
  if (p.extendedUsage != nullptr) AddExtension(cert.get(), signer, NID_ext_key_usage, p.extendedUsage);
  if (!p.altNames.empty()) AddExtension(cert.get(), signer, NID_subject_alt_name, p.altNames);
  Check(X509_sign(cert.get(), issuerKey != nullptr ? issuerKey : key, EVP_sha256()) > 0, "signing");
  return cert;
}

void WritePem(const fs::path& file, const std::function<bool(FILE*)>& write) {
  FILE* f = std::fopen(file.c_str(), "w");
  Check(f != nullptr, "file");
  const bool ok = write(f);
  Check(std::fclose(f) == 0 && ok, "writing PEM");
}

IssuedFiles WriteIssued(const fs::path& folder, const std::string& stem, X509* cert, EVP_PKEY* key) {
  IssuedFiles files{folder / (stem + ".pem"), folder / (stem + "-key.pem")};
  WritePem(files.certificate, [&](FILE* f) { return PEM_write_X509(f, cert) == 1; });
  WritePem(files.key, [&](FILE* f) {
    return PEM_write_PrivateKey(f, key, nullptr, nullptr, 0, nullptr, nullptr) == 1;
  });
  fs::permissions(files.key, fs::perms::owner_read | fs::perms::owner_write);
  return files;
}

}  // namespace

TestPki MakeTestPki(const fs::path& folder) {
  fs::create_directories(folder);
  TestPki pki;
  const Key caKey = NewKey();
  const Cert ca = Issue({"Vuzideza Test Authority", true, nullptr, "", -1, 3650, 1}, caKey.get(), nullptr, nullptr);
  pki.authority = folder / "authority.pem";
  WritePem(pki.authority, [&](FILE* f) { return PEM_write_X509(f, ca.get()) == 1; });

  const Key serverKey = NewKey();
  const Cert server = Issue({"radius.test", false, "serverAuth", "DNS:radius.test", -1, 365, 2}, serverKey.get(),
                            ca.get(), caKey.get());
  pki.server = WriteIssued(folder, "server", server.get(), serverKey.get());

  const Key clientKey = NewKey();
  const Cert client = Issue({"alice", false, "clientAuth",
                             "email:alice@example.test,otherName:msUPN;UTF8:alice@corp.test", -1, 365, 3},
                            clientKey.get(), ca.get(), caKey.get());
  pki.client = WriteIssued(folder, "client", client.get(), clientKey.get());
  pki.clientPkcs12 = folder / "client.p12";
  {
    STACK_OF(X509)* chain = sk_X509_new_null();
    Check(chain != nullptr && sk_X509_push(chain, ca.get()) > 0, "chain");
    PKCS12* p12 = PKCS12_create(kPkcs12Password, "alice", clientKey.get(), client.get(), chain, 0, 0, 0, 0, 0);
    sk_X509_free(chain);
    Check(p12 != nullptr, "PKCS#12");
    FILE* f = std::fopen(pki.clientPkcs12.c_str(), "wb");
    const bool ok = f != nullptr && i2d_PKCS12_fp(f, p12) == 1;
    PKCS12_free(p12);
    Check(f != nullptr && std::fclose(f) == 0 && ok, "writing PKCS#12");
  }

  const Key revokedKey = NewKey();
  const Cert revoked =
      Issue({"mallory", false, "clientAuth", "email:mallory@example.test", -1, 365, 4}, revokedKey.get(), ca.get(),
            caKey.get());
  pki.revokedClient = WriteIssued(folder, "revoked", revoked.get(), revokedKey.get());

  const Key expiredKey = NewKey();
  const Cert expired = Issue({"bob", false, "clientAuth", "email:bob@example.test", -400, -35, 5}, expiredKey.get(),
                             ca.get(), caKey.get());
  pki.expiredClient = WriteIssued(folder, "expired", expired.get(), expiredKey.get());

  // The revocation list names mallory's certificate.
  Crl crl(X509_CRL_new());
  Check(crl != nullptr, "revocation list");
  X509_CRL_set_version(crl.get(), 1);
  X509_CRL_set_issuer_name(crl.get(), X509_get_subject_name(ca.get()));
  ASN1_TIME* now = X509_gmtime_adj(nullptr, -3600);
  ASN1_TIME* next = X509_gmtime_adj(nullptr, 30L * 86400);
  X509_CRL_set1_lastUpdate(crl.get(), now);
  X509_CRL_set1_nextUpdate(crl.get(), next);
  X509_REVOKED* entry = X509_REVOKED_new();
  X509_REVOKED_set_serialNumber(entry, X509_get_serialNumber(revoked.get()));
  X509_REVOKED_set_revocationDate(entry, now);
  X509_CRL_add0_revoked(crl.get(), entry);
  ASN1_TIME_free(now);
  ASN1_TIME_free(next);
  X509_CRL_sort(crl.get());
  Check(X509_CRL_sign(crl.get(), caKey.get(), EVP_sha256()) > 0, "signing the revocation list");
  pki.authorityAndCrl = folder / "authority-crl.pem";
  WritePem(pki.authorityAndCrl, [&](FILE* f) {
    return PEM_write_X509(f, ca.get()) == 1 && PEM_write_X509_CRL(f, crl.get()) == 1;
  });

  const Key rogueCaKey = NewKey();
  const Cert rogueCa = Issue({"Vuzideza Test Authority", true, nullptr, "", -1, 3650, 1}, rogueCaKey.get(), nullptr,
                             nullptr);
  pki.rogueAuthority = folder / "rogue-authority.pem";
  WritePem(pki.rogueAuthority, [&](FILE* f) { return PEM_write_X509(f, rogueCa.get()) == 1; });
  const Key rogueKey = NewKey();
  const Cert rogue = Issue({"radius.test", false, "serverAuth", "DNS:radius.test", -1, 365, 2}, rogueKey.get(),
                           rogueCa.get(), rogueCaKey.get());
  pki.rogueServer = WriteIssued(folder, "rogue-server", rogue.get(), rogueKey.get());
  return pki;
}

}  // namespace dot1x::testing
