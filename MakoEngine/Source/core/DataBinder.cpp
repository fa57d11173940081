#include "core/DataBinder.h"

DataBinder::~DataBinder() = default;
