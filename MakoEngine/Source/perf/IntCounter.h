#pragma once
// A named count of events in the current frame ("Sounds Played").
struct IntCounter
{
    int value = 0;
};
