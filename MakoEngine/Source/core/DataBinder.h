#pragma once
// DataBinder: the base of objects that tie one user-interface value (a slider, a check
// box) to a value kept elsewhere. It adds nothing to Object; it names the role.
#include "core/Object.h"

class DataBinder : public Object
{
public:
    ~DataBinder() override = 0;

protected:
    DataBinder() = default;
};
