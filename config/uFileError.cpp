#include "config/uFileError.h"

#include <system_error>

namespace qm {

std::string ErrnoText(int error) {
    return std::generic_category().message(error);
}

} // namespace qm
