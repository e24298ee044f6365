// Build tool: merges one UTF-8 source file per language into the two shipped language files,
// a UTF-16 LE file with BOM and an 8-bit (Latin-1) file, both with the same index section and
// texts. Refuses sources that would not survive both encodings or that lack a key another
// language has, so a missing translation fails the build instead of showing English.
//
// Usage: langpack INDEX_SECTION OUT_UTF16 OUT_8BIT SOURCE.ini...

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/text/text.h"

namespace {

struct Source {
  std::string path;
  std::u16string section;
  std::vector<std::u16string> lines;  // section body without comments
  std::map<std::u16string, int> keys;  // upper-cased key -> line number
};

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "langpack: %s\n", message.c_str());
  std::exit(1);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

Source ParseSource(const std::string& path) {
  std::string bytes = ReadFile(path);
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
  const std::u16string text = platform::FromUtf8(bytes);

  Source source{path, {}, {}, {}};
  int lineNumber = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    const std::u16string_view raw(text.data() + start, end - start);
    start = end + 1;
    ++lineNumber;
    const std::string where = path + ":" + std::to_string(lineNumber);

    for (char16_t c : raw) {
      if (c == u'\uFFFD') Fail(where + ": not valid UTF-8");
      if (c > 0xFF) Fail(where + ": character outside the 8-bit code page");
    }
    const std::u16string_view line = platform::Trim(raw);
    if (line.empty()) {
      if (!source.section.empty()) source.lines.emplace_back();
      continue;
    }
    if (line.front() == u';' || line.front() == u'#') continue;
    if (line.front() == u'[') {
      if (!source.section.empty()) Fail(where + ": one language section per file");
      if (line.back() != u']' || line.size() < 3) Fail(where + ": malformed section name");
      source.section = line.substr(1, line.size() - 2);
      continue;
    }
    if (source.section.empty()) Fail(where + ": text before the section name");
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos || equals == 0) Fail(where + ": expected key=text");
    const std::u16string key = platform::ToUpper(platform::Trim(line.substr(0, equals)));
    if (!source.keys.emplace(key, lineNumber).second) Fail(where + ": duplicate key");
    source.lines.emplace_back(line);
  }
  if (source.section.empty()) Fail(path + ": no section");
  while (!source.lines.empty() && source.lines.back().empty()) source.lines.pop_back();
  return source;
}

// Every language must define the same keys.
void CheckSameKeys(const std::vector<Source>& sources) {
  for (const Source& a : sources) {
    for (const Source& b : sources) {
      for (const auto& [key, line] : a.keys) {
        if (!b.keys.contains(key)) {
          Fail(a.path + ":" + std::to_string(line) + ": key " + platform::ToUtf8(key) +
               " missing in " + b.path);
        }
      }
    }
  }
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) Fail("cannot write " + path);
}

std::string EncodeUtf16Le(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) Fail("usage: langpack INDEX_SECTION OUT_UTF16 OUT_8BIT SOURCE.ini...");
  const std::u16string indexSection = platform::FromUtf8(argv[1]);

  std::vector<Source> sources;
  std::set<std::u16string> sections{platform::ToUpper(indexSection)};
  for (int i = 4; i < argc; ++i) {
    sources.push_back(ParseSource(argv[i]));
    if (!sections.insert(platform::ToUpper(sources.back().section)).second) {
      Fail(sources.back().path + ": section name used twice");
    }
  }
  CheckSameKeys(sources);

  std::u16string out = u"; Generated from lang/files; edit the sources there.\r\n[" + indexSection + u"]\r\n";
  for (std::size_t i = 0; i < sources.size(); ++i) {
    out += platform::Format(u"Language_%d_Section=%s\r\n", i + 1, sources[i].section);
  }
  for (const Source& source : sources) {
    out += u"\r\n[" + source.section + u"]\r\n";
    for (const std::u16string& line : source.lines) out += line + u"\r\n";
  }

  WriteFile(argv[2], EncodeUtf16Le(out));
  WriteFile(argv[3], platform::NarrowCodePage(out));
  return 0;
}
