#include "monitor/line/memory_dump_dialog.h"

#include <cstdio>
#include <string>
#include <vector>

#include "driver_if/requests.h"
#include "monitor/line/dump_file.h"
#include "monitor/line/memory_dump_fields.h"
#include "monitor/line/memory_listing.h"

namespace {

constexpr uint8_t kStatusUnanswered = 0xAA;

}  // namespace

void MemoryDumpDialog::onInit(ui::Form& form) {
  form_ = &form;
  form.setText(kAddress, "e000");
  form.setText(kLength, "100");
}

void MemoryDumpDialog::onCommand(int id, ui::Notify notify) {
  if (notify != ui::Notify::Clicked) return;
  if (id == kGetMemory) getMemory();
  else if (id == kSaveDump) saveDump();
  else if (id == kClose) form_->endDialog(0);
}

void MemoryDumpDialog::warn(const char* text) {
  prompter_.show({text, "Memory Dump", ui::Icon::Warning});
}

void MemoryDumpDialog::getMemory() {
  request_.clear();
  request_.setStatus(kStatusUnanswered);
  const MemoryDumpRange range = ParseMemoryDumpFields(form_->text(kAddress), form_->text(kLength));
  if (range.verdict == MemoryDumpRange::Verdict::kBadOffset) {
    warn("Incorrect Memory dump offset! Maximum is 0x1FFFF, minimum is 0x00");
    return;
  }
  if (range.verdict == MemoryDumpRange::Verdict::kBadLength) {
    warn("Incorrect Memory dump length!");
    return;
  }
  if (range.length_cut) {
    char text[8];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(range.length));
    form_->setText(kLength, text);
  }
  request_.setOffset(range.offset);
  request_.setLength(range.read_length);
  ReadMemory(handle_, request_);
  if (request_.status() != 0) return;
  form_->listClear(kListing);
  for (const auto& line : MemoryListing(range.offset, request_.data().first(range.read_length)))
    form_->listAdd(kListing, line);
}

void MemoryDumpDialog::saveDump() {
  std::vector<std::string> lines;
  const int count = form_->listCount(kListing);
  for (int i = 0; i < count; ++i) lines.push_back(form_->listText(kListing, i));
  const std::optional<std::filesystem::path> file = DumpFilePath();
  const std::string path = file ? file->string() : std::string(kDumpFileName);
  const DumpSaveResult result =
      file ? AppendDumpBlock(*file, DumpBlock(clock_.now(), lines)) : DumpSaveResult::CannotOpen;
  if (result == DumpSaveResult::Saved) {
    prompter_.show({"Memory dump saved in " + path + ".", "Memory Dump", ui::Icon::Information});
    return;
  }
  const char* what = result == DumpSaveResult::CannotOpen ? "Can not open the file " : "Can not write the file ";
  prompter_.show({what + path + "\n", "Dump File Error", ui::Icon::Error, ui::Buttons::Ok,
                  ui::Owner::Form, form_});
}
