// The system's print queue (CUPS here): hands a finished PDF to a printer as one job. Qt finds the
// printers and their paper; this is the one step whose answer Qt would drop, so it is taken here:
// a queue that refuses the job says so instead of the report being taken for printed.
#pragma once

#include <filesystem>
#include <string>

namespace voltaro::platform {

struct PrintJob {
    int id = 0;           // the queue's job number; 0 when the job was refused
    std::string refusal;  // why, when it was
};

// Sends the PDF `file` to the queue of `printer`, titled `title`. The file is read before this
// returns, so the caller may delete it then.
PrintJob printPdf(const std::string& printer, const std::filesystem::path& file,
                  const std::string& title);

}  // namespace voltaro::platform
