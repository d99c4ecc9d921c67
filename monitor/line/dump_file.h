#pragma once
// The file memory dumps are appended to: "strmdump.wri" in a folder named
// "drivers". Saves accumulate; nothing in it is ever overwritten.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/line/dump_clock.h"

inline constexpr char kDumpFileName[] = "strmdump.wri";

// $TALVMON_DUMP_DIR names the folder itself. Otherwise, on Windows the
// system directory's "drivers" folder; elsewhere "talvmon/drivers" under
// $XDG_DATA_HOME (default ~/.local/share). Nothing when no home is known.
std::optional<std::filesystem::path> DumpFilePath();

// One save: the stamp line, the listing lines and the end line, with "\n"
// line breaks.
std::string DumpBlock(const DumpStamp& stamp, const std::vector<std::string>& lines);

enum class DumpSaveResult { Saved, CannotOpen, CannotWrite };

// Appends the block with every "\n" written as CR LF, creating the folder
// when missing. Saved only when every write, the flush and the close worked;
// otherwise what this block put in the file is taken back.
DumpSaveResult AppendDumpBlock(const std::filesystem::path& file, std::string_view block);
