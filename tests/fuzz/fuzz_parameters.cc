// Fuzzes the parameter file: any bytes as param03.tmp, read by a fresh System.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "model/system.h"

namespace {

// Whatever the file holds, the target items stay a sane, line-shaped list.
void checkTargetItems(const SpecialItems& items) {
  fuzz::check(items.itemCount >= 0 && items.itemCount <= 10000, "itemCount out of 0..10000");
  fuzz::check(items.itemCount == 0 || items.itemArray != nullptr, "items counted but no array");
  for (int i = 0; i < items.itemCount; ++i) {
    fuzz::check(items.itemArray[i].name.find('\n') == std::string::npos,
                "an item name spans a line feed");
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::silenceCout();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzz::scratchPath("param03.tmp");
  fuzz::writeFile(path, data, size);
  System system;
  system.loadParametersFromFile(path);
  checkTargetItems(system.specialItems);
  return 0;
}
