#include "libs/dot1x/testing/radius_server.h"

#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace dot1x::testing {
namespace {

namespace fs = std::filesystem;

// A UDP port on 127.0.0.1 nobody holds right now.
int FreeUdpPort() {
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  if (fd < 0) return 0;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof a;
  int port = 0;
  if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) == 0) {
    port = ntohs(a.sin_port);
  }
  close(fd);
  return port;
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out.push_back('\\');
    out.push_back(c);
  }
  return out + "\"";
}

void WriteConfig(const RadiusServerOptions& o, int port) {
  const std::string d = o.folder.string();
  std::ofstream conf(o.folder / "radiusd.conf");
  conf << "prefix = /usr\nexec_prefix = /usr\nsysconfdir = /etc\nlocalstatedir = /var\nsbindir = /usr/sbin\n"
       << "logdir = " << d << "\nraddbdir = " << d << "\nradacctdir = " << d << "\nname = radiusd\n"
       << "confdir = " << d << "\nmodconfdir = " << d << "\ncertdir = " << d << "\ncadir = " << d << "\n"
       << "run_dir = " << d << "\ndb_dir = " << d << "\nlibdir = /usr/lib/freeradius\n"
       << "pidfile = " << d << "/radiusd.pid\n"
       << "max_request_time = 30\ncleanup_delay = 1\nmax_requests = 1024\nhostname_lookups = no\n"
       << "log {\n destination = files\n file = " << d << "/radius.log\n auth = yes\n}\n"
       << "security {\n allow_core_dumps = no\n max_attributes = 200\n reject_delay = 0\n status_server = no\n}\n"
       << "thread pool {\n start_servers = 2\n max_servers = 4\n min_spare_servers = 1\n max_spare_servers = 3\n"
       << " max_requests_per_server = 0\n}\n"
       << "client loopback {\n ipaddr = 127.0.0.1\n secret = " << Quoted(o.secret)
       << "\n require_message_authenticator = yes\n}\n"
       << "modules {\n pap {\n }\n chap {\n }\n mschap {\n }\n files {\n  filename = " << d << "/users\n }\n"
       << " eap {\n  default_eap_type = tls\n  timer_expire = 60\n  max_sessions = 1024\n"
       << "  tls-config tls-common {\n"
       << "   private_key_file = " << o.serverCertificate.key.string() << "\n"
       << "   certificate_file = " << o.serverCertificate.certificate.string() << "\n"
       << "   ca_file = " << o.clientAuthorities.string() << "\n"
       << "   check_crl = " << (o.checkRevocation ? "yes" : "no") << "\n"
       << "   cipher_list = \"DEFAULT\"\n   tls_min_version = \"1.2\"\n   tls_max_version = \"1.2\"\n"
       << "   ecdh_curve = \"prime256v1\"\n   cache {\n    enable = no\n   }\n   verify {\n   }\n  }\n"
       << "  tls {\n   tls = tls-common\n  }\n"
       << "  ttls {\n   tls = tls-common\n   default_eap_type = mschapv2\n   virtual_server = \"inner-tunnel\"\n  }\n"
       << "  peap {\n   tls = tls-common\n   default_eap_type = mschapv2\n   virtual_server = \"inner-tunnel\"\n  }\n"
       << "  mschapv2 {\n  }\n }\n}\n"
       << "server default {\n listen {\n  type = auth\n  ipaddr = 127.0.0.1\n  port = " << port << "\n }\n"
       << " authorize {\n  eap {\n   ok = return\n  }\n  files\n }\n authenticate {\n  eap\n }\n}\n"
       << "server inner-tunnel {\n authorize {\n  chap\n  mschap\n  eap {\n   ok = return\n  }\n  files\n  pap\n }\n"
       << " authenticate {\n  Auth-Type PAP {\n   pap\n  }\n  Auth-Type CHAP {\n   chap\n  }\n"
       << "  Auth-Type MS-CHAP {\n   mschap\n  }\n  eap\n }\n}\n";
  std::ofstream users(o.folder / "users");
  for (const RadiusUser& u : o.users) users << Quoted(u.name) << " Cleartext-Password := " << Quoted(u.password) << "\n";
}

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

fs::path FreeRadiusProgram() {
  for (const char* candidate : {"/usr/sbin/freeradius", "/usr/sbin/radiusd"}) {
    if (access(candidate, X_OK) == 0) return candidate;
  }
  return {};
}

std::unique_ptr<RadiusServer> RadiusServer::Start(const RadiusServerOptions& options, std::string& error) {
  const fs::path program = FreeRadiusProgram();
  if (program.empty()) {
    error = "FreeRADIUS is not installed (Debian package freeradius; scripts/install-deps.sh installs it)";
    return nullptr;
  }
  std::error_code ec;
  fs::create_directories(options.folder, ec);
  // Another process may take a free port between our look and the server's bind: try again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int port = options.port != 0 ? options.port : FreeUdpPort();
    WriteConfig(options, port);
    const fs::path log = options.folder / "radius.log";
    fs::remove(log, ec);
    const std::string dir = options.folder.string();
    std::vector<std::string> args{program.string(), "-f", "-d", dir, "-n", "radiusd"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
      error = "FreeRADIUS could not be started";
      return nullptr;
    }
    std::unique_ptr<RadiusServer> server(new RadiusServer(pid, port, options.secret, log));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
      if (server->Log().find("Ready to process requests") != std::string::npos) return server;
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) {
        server->pid_ = 0;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    error = "FreeRADIUS did not start on 127.0.0.1:" + std::to_string(port) + "; its log:\n" + server->Log();
    if (server->Log().find("Address already in use") == std::string::npos || options.port != 0) return nullptr;
  }
  return nullptr;
}

RadiusServer::RadiusServer(pid_t pid, int port, std::string secret, fs::path log)
    : pid_(pid), port_(port), secret_(std::move(secret)), log_(std::move(log)) {}

RadiusServer::~RadiusServer() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  for (int i = 0; i < 250; ++i) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(pid_, SIGKILL);
  int status = 0;
  waitpid(pid_, &status, 0);
}

std::string RadiusServer::Log() const { return ReadAll(log_); }

}  // namespace dot1x::testing
