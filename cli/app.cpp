#include "cli/app.h"

#include <ostream>

#include "platform/zephlib_binding.h"
#include "refdb/password.h"

namespace voltaro::cli {

std::optional<refdb::Database> openReferenceDatabase(const Context& context) {
    auto zephlib = platform::ZephlibBinding::inFolder(context.appDir);
    const auto password = refdb::recoverPassword(zephlib);
    if (!password) {
        context.err << "voltaro-cli: cannot use Zephlib: " << zephlib.bindError() << "\n";
        return std::nullopt;
    }
    const auto path = context.appDir / "Voltaro.dat";
    auto db = refdb::Database::open(path, refdb::connectText(*password));
    if (!db) {
        context.err << "voltaro-cli: cannot open " << path.string() << ": " << db.error().description
                    << " (error " << db.error().number << ")\n";
        return std::nullopt;
    }
    return db.take();
}

}  // namespace voltaro::cli
