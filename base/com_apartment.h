// COM for one scope of the calling thread, for shell calls whose handlers may be COM objects.
// COM's DLL is loaded on first use only, not by every start of the program.
#pragma once

#include <windows.h>

class ComApartment {
public:
    // A single-threaded apartment, as the shell wants.
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool entered_ = false; // left again only when this entered it
};
