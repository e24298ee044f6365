#include "libs/dot1x/certstore/vzcert_commands.h"

#include <openssl/crypto.h>

#include <ostream>

#include "libs/dot1x/certstore/store_paths.h"

namespace certstore {
namespace {

constexpr std::size_t kMaxImport = 1 << 20;

void PrintEntries(std::ostream& out, const char* title, const std::vector<Entry>& entries, bool personal) {
  out << title << " (" << entries.size() << ")\n";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Entry& e = entries[i];
    out << "  " << i + 1 << ". " << e.subject << " -issued by " << e.issuer << "  (until " << e.notAfter;
    if (personal) out << (e.hasKey ? ", private key" : ", no private key: cannot be used for TLS");
    out << ")\n";
  }
}

// The entry the user numbered in `list`; none when the number is out of range.
const Entry* Numbered(const std::vector<Entry>& entries, const std::string& text) {
  std::size_t used = 0;
  unsigned long n = 0;
  try {
    n = std::stoul(text, &used);
  } catch (...) {
    return nullptr;
  }
  if (used != text.size() || n == 0 || n > entries.size()) return nullptr;
  return &entries[n - 1];
}

bool Read(const std::string& file, wpa::Bytes& out, Console& console) {
  if (ReadFile(file, kMaxImport, out)) return true;
  console.err << "vzcert: " << file << ": cannot be read (missing, unreadable or over 1 MiB)\n";
  return false;
}

int Import(CertStore& store, const std::vector<std::string>& args, Console& console) {
  // import FILE [KEYFILE] [--password-file FILE]
  std::vector<std::string> files;
  std::string passwordFile;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--password-file" && i + 1 < args.size()) {
      passwordFile = args[++i];
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.empty() || files.size() > 2) return 2;
  wpa::Bytes file;
  wpa::Bytes key;
  if (!Read(files[0], file, console) || (files.size() == 2 && !Read(files[1], key, console))) return 1;
  std::string password;
  if (!passwordFile.empty()) {
    wpa::Bytes secret;
    if (!Read(passwordFile, secret, console)) return 1;
    password.assign(secret.begin(), secret.end());
    OPENSSL_cleanse(secret.data(), secret.size());
    while (!password.empty() && (password.back() == '\n' || password.back() == '\r')) password.pop_back();
  }
  ImportResult result = store.ImportPersonal(file, password, key);
  if (!result.ok && result.wrongPassword && passwordFile.empty() && console.askPassword) {
    password = console.askPassword();
    result = store.ImportPersonal(file, password, key);
  }
  OPENSSL_cleanse(password.data(), password.size());
  OPENSSL_cleanse(file.data(), file.size());
  OPENSSL_cleanse(key.data(), key.size());
  if (!result.ok) {
    console.err << "vzcert: " << files[0] << ": " << result.error << "\n";
    return 1;
  }
  for (const Entry& e : result.added) {
    console.out << "imported " << e.subject << " -issued by " << e.issuer
                << (e.hasKey ? " with its private key\n" : " without a private key\n");
  }
  return 0;
}

}  // namespace

std::string VzcertUsage() {
  return "usage: vzcert list\n"
         "       vzcert import FILE [KEYFILE] [--password-file FILE]\n"
         "              a PKCS#12 file, or a PEM certificate with its private key (in FILE or KEYFILE);\n"
         "              asks for the password on the terminal when the file needs one\n"
         "       vzcert import-ca FILE      authority certificates (PEM or DER) to trust\n"
         "       vzcert remove N            the personal certificate numbered N by list\n"
         "       vzcert remove-ca N         the authority certificate numbered N by list\n"
         "The store is " + StoreFolder().string() + " ($VUZIDEZA_CERT_DIR to choose another).\n";
}

int RunVzcert(CertStore& store, const std::vector<std::string>& args, Console& console) {
  const std::string command = args.empty() ? "" : args[0];
  int result = 2;
  if (command == "list" && args.size() == 1) {
    PrintEntries(console.out, "Personal certificates", store.List(Kind::Personal), true);
    PrintEntries(console.out, "Authorities", store.List(Kind::Authority), false);
    result = 0;
  } else if (command == "import") {
    result = Import(store, args, console);
  } else if (command == "import-ca" && args.size() == 2) {
    wpa::Bytes file;
    if (!Read(args[1], file, console)) return 1;
    const ImportResult imported = store.ImportAuthorities(file);
    if (!imported.ok) {
      console.err << "vzcert: " << args[1] << ": " << imported.error << "\n";
      return 1;
    }
    for (const Entry& e : imported.added) console.out << "trusted " << e.subject << "\n";
    result = 0;
  } else if ((command == "remove" || command == "remove-ca") && args.size() == 2) {
    const Kind kind = command == "remove" ? Kind::Personal : Kind::Authority;
    const auto entries = store.List(kind);
    const Entry* e = Numbered(entries, args[1]);
    if (e == nullptr) {
      console.err << "vzcert: no entry " << args[1] << " (see vzcert list)\n";
      return 1;
    }
    if (!store.Remove(kind, e->id)) {
      console.err << "vzcert: " << e->subject << " cannot be removed\n";
      return 1;
    }
    console.out << "removed " << e->subject << " -issued by " << e->issuer << "\n";
    result = 0;
  }
  if (result == 2) console.err << VzcertUsage();
  return result;
}

}  // namespace certstore
