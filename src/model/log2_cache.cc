#include "model/log2_cache.h"

Log2Cache::Log2Cache() : value_(kSlots), totalOf_(kSlots, -1) {}
