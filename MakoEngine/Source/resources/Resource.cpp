#include "resources/Resource.h"

Resource::~Resource() = default;
