#pragma once
// Where the user's certificate store and the files exported from it live, and how they are
// written: folders only the owner may enter, files only the owner may read.

#include <filesystem>
#include <string_view>

#include "libs/dot1x/wpa/bytes.h"

namespace certstore {

// $VUZIDEZA_CERT_DIR when set; else "certificates" in the settings folder
// ($VUZIDEZA_REGISTRY_DIR, else $XDG_DATA_HOME/vuzideza, else ~/.local/share/vuzideza).
std::filesystem::path StoreFolder();
// The private folder the exported certificate, key and authority files go to.
std::filesystem::path ExportFolder();

// Creates the folder and its missing parents; the folder itself ends with mode 0700 even when it
// existed with a wider one. False when it cannot be made or is not a folder we own.
[[nodiscard]] bool MakePrivateFolder(const std::filesystem::path& folder);

// Writes the file whole or not at all (a temporary file renamed over it), mode 0600 from the
// start, so no other user ever sees a byte of it.
[[nodiscard]] bool WritePrivateFile(const std::filesystem::path& file, wpa::ByteSpan content);

// Reads a file of at most `limit` bytes; false when it is missing, unreadable or larger.
[[nodiscard]] bool ReadFile(const std::filesystem::path& file, std::size_t limit, wpa::Bytes& out);

// A file named by the supplicant's configuration: relative names are files of the export folder.
std::filesystem::path ResolveExported(std::string_view name);

}  // namespace certstore
