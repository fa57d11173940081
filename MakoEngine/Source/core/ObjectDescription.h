#pragma once
// How messages name a scripted object: its class and its name, else the first resource it
// was made from (`Brick "RedBrick"`), else its class alone (`Actor`).
#include <string>

class Object;

std::string DescribeObject(const Object& object);
