#include "platform/process/process.h"

namespace platform {

std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine) {
  std::vector<std::u16string> args;
  std::u16string current;
  bool inArgument = false;  // an argument has begun, possibly empty ("")
  bool quoted = false;
  std::size_t i = 0;
  while (i < commandLine.size()) {
    const char16_t c = commandLine[i];
    if (c == u'\\') {
      std::size_t slashes = 0;
      while (i < commandLine.size() && commandLine[i] == u'\\') ++slashes, ++i;
      inArgument = true;
      if (i < commandLine.size() && commandLine[i] == u'"') {
        current.append(slashes / 2, u'\\');
        if (slashes % 2 == 1) {
          current += u'"';  // escaped quote
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        current.append(slashes, u'\\');  // not before a quote: literal
      }
      continue;
    }
    if (c == u'"') {
      quoted = !quoted;
      inArgument = true;
    } else if ((c == u' ' || c == u'\t') && !quoted) {
      if (inArgument) args.push_back(std::move(current));
      current.clear();
      inArgument = false;
    } else {
      current += c;
      inArgument = true;
    }
    ++i;
  }
  if (inArgument) args.push_back(std::move(current));
  return args;
}

}  // namespace platform
