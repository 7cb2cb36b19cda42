#include "platform/print_queue.h"

#include <cups/cups.h>

#include "platform/shared_library.h"

namespace voltaro::platform {

// CUPS is loaded on the first print rather than linked: with it come TLS, zeroconf and Kerberos
// libraries that every start of the program would otherwise load and set up, for a report that
// many runs never print.
PrintJob printPdf(const std::string& printer, const std::filesystem::path& file,
                  const std::string& title) {
    SharedLibrary cups("libcups.so.2");
    auto* printFile = reinterpret_cast<decltype(&::cupsPrintFile)>(cups.symbol("cupsPrintFile"));
    auto* lastError =
        reinterpret_cast<decltype(&::cupsLastErrorString)>(cups.symbol("cupsLastErrorString"));
    if (printFile == nullptr || lastError == nullptr)
        return {0, "the print system cannot be used (" + cups.error() + ")"};
    // No options: the queue's own defaults, and the file's type found from its content.
    const int id = printFile(printer.c_str(), file.c_str(), title.c_str(), 0, nullptr);
    if (id > 0) return {id, {}};
    const char* why = lastError();
    return {0, why != nullptr && *why != '\0' ? why : "the print system did not take the job"};
}

}  // namespace voltaro::platform
