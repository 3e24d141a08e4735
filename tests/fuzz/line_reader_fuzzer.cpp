// FileReader::ReadLine over any file, any line length and any failing read: every call must
// return what the line model says, fill exactly the buffer it was given, and leave no handle
// open once the reader is gone.
//
// Input: [max chars, low byte] [bit 0: max chars + 256; bit 1: the open fails;
//        bit 2: no file; bit 3: reads fail after the next byte's count] [that count] [file...]
#include <cstring>
#include <memory>
#include <string>

#include "bootcfg/boot_file.h"
#include "bootcfg/file_reader.h"
#include "platform/linux/stand_in.h"
#include "support/harness.h"
#include "support/oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input input(data, size);
  const uint8_t low = input.Byte();
  const uint8_t flags = input.Byte();
  const uint8_t readLimit = input.Byte();
  const int maxChars = low + ((flags & 1) ? 256 : 0);
  const bool openFails = flags & 2;
  const bool missing = flags & 4;
  const bool limited = flags & 8;
  const std::string file = input.Rest();

  const std::string visible = fuzz::PrepareReader(file, missing, openFails, limited, readLimit);
  fuzz::LineModel model(visible, static_cast<size_t>(maxChars));

  // Exactly the room the caller promises, so that ASan sees one byte too many.
  std::unique_ptr<char[]> buffer(new char[maxChars + 1]);
  {
    FileReader reader(kBootFilePath, GENERIC_READ, OPEN_EXISTING);
    FUZZ_CHECK(stand_in::OpenHandleCount() == ((missing || openFails) ? 0 : 1),
               "open handles: " + std::to_string(stand_in::OpenHandleCount()));
    // Every call takes at least one byte or reports the end, so this many calls reach the end
    // and then make sure it stays the end.
    for (size_t call = 0; call <= visible.size() + 1; ++call) {
      std::memset(buffer.get(), 0x5A, maxChars + 1);
      const int count = reader.ReadLine(buffer.get(), maxChars);
      const fuzz::LineModel::Line expected = model.Next();
      const std::string got(buffer.get(), strnlen(buffer.get(), maxChars + 1));
      const auto detail = [&] {
        return "file " + fuzz::Printable(file) + "\nmax chars " + std::to_string(maxChars) +
               ", call " + std::to_string(call) + ": returned " + std::to_string(count) + " " +
               fuzz::Printable(got) + ", expected " + std::to_string(expected.count) + " " +
               fuzz::Printable(expected.text);
      };
      FUZZ_CHECK(count == expected.count, detail());
      FUZZ_CHECK(std::memcmp(buffer.get(), expected.text.data(), expected.text.size()) == 0,
                 detail());
      FUZZ_CHECK(buffer[expected.text.size()] == '\0', detail());
    }
  }
  FUZZ_CHECK(stand_in::OpenHandleCount() == 0, "the reader left its file open");
  return 0;
}
