#include "platform/print_queue.h"

#include <cups/cups.h>

namespace voltaro::platform {

PrintJob printPdf(const std::string& printer, const std::filesystem::path& file,
                  const std::string& title) {
    // No options: the queue's own defaults, and the file's type found from its content.
    const int id = cupsPrintFile(printer.c_str(), file.c_str(), title.c_str(), 0, nullptr);
    if (id > 0) return {id, {}};
    const char* why = cupsLastErrorString();
    return {0, why != nullptr && *why != '\0' ? why : "the print system did not take the job"};
}

}  // namespace voltaro::platform
