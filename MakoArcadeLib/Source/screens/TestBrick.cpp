#include "screens/TestBrick.h"

TestBrick::TestBrick(const std::string& resourceName)
{
    AcquireAndApplyResource(resourceName);
}
