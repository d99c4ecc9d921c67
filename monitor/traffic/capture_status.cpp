#include "monitor/traffic/capture_status.h"

#include <cstdio>
#include <filesystem>

namespace {

std::string SizeText(uint64_t bytes) {
  char text[32];
  if (bytes < 1024) std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
  else if (bytes < 1024 * 1024) std::snprintf(text, sizeof text, "%.1f KB", bytes / 1024.0);
  else if (bytes < 1024ull * 1024 * 1024) std::snprintf(text, sizeof text, "%.1f MB", bytes / (1024.0 * 1024));
  else std::snprintf(text, sizeof text, "%.1f GB", bytes / (1024.0 * 1024 * 1024));
  return text;
}

}  // namespace

std::string CaptureStatusText(const CaptureProgress& p) {
  const std::string file = std::filesystem::path(p.path).filename().string();
  return file + ": " + std::to_string(p.frames_written) + (p.frames_written == 1 ? " frame" : " frames") +
         " written (" + SizeText(p.bytes_written) + "), " + std::to_string(p.frames_not_written) +
         " not written";
}

void CaptureStatusLine::show(const std::vector<const CaptureSource*>& sources) {
  std::string text;
  std::string folder;
  for (const CaptureSource* source : sources) {
    if (source == nullptr) continue;
    const std::optional<CaptureProgress> progress = source->progress();
    if (!progress) continue;
    if (text.empty()) {
      text = "Capturing to ";
      const std::filesystem::path parent = std::filesystem::path(progress->path).parent_path();
      folder = parent.empty() ? std::string(".") : parent.string();
    } else {
      text += "; ";
    }
    text += CaptureStatusText(*progress);
  }
  folder_ = folder;
  if (text == text_) return;
  text_ = text;
  host_.setStatusText(ui::StatusField::Capture, text_);
}

void CaptureStatusLine::openFolder() {
  if (!folder_.empty()) host_.openFolder(folder_);
}
