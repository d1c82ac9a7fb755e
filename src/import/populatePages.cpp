#include "import/populatePages.h"

#include <sys/mman.h>
#include <unistd.h>

namespace veltrona {

void populatePages(std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kWorthIt = std::size_t{1} << 20;
    if (data == nullptr || size < kWorthIt) return;
#ifdef MADV_POPULATE_WRITE
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t begin = (start + page - 1) & ~(page - 1);
    const std::uintptr_t end = (start + size) & ~(page - 1);
    if (end > begin) {
        (void)madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
    }
#endif
}

}  // namespace veltrona
