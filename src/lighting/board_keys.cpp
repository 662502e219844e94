#include "lighting/board_keys.h"

#include "lighting/preview_tables.h"

namespace kovantis {

std::span<const int16_t> BoardKeys()
{
    return Tables().gridKeys;
}

} // namespace kovantis
