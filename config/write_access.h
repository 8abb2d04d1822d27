// Whether writing the tunnel client's configuration needs more rights than this user has: the
// file itself, and its folder, where the writer makes its new file first.
#pragma once

// The two probes, gathered in one table so that a test can stand in for a folder that refuses
// the user, which the administrator that Wine runs everything as never meets.
struct WriteProbeCalls {
    // The system's error code of opening the file at path for writing, shared with everyone,
    // never creating nor emptying it; 0 when it opens. A read-only file is refused as access
    // denied, as the writer refuses it.
    unsigned long (*open_existing)(const char* path);
    // That of creating a new file of a name no file has yet in folder (empty, or ending with
    // its separator), which goes again as it is closed; 0 when it can be made.
    unsigned long (*create_in)(const char* folder);

    // The system's own.
    static const WriteProbeCalls system;
};

// True when the file (when it exists) or its folder refuses this user writing: access denied,
// or a read-only file. Any other failure, a missing folder or a file held by another program,
// is no matter of rights; the write itself then tells what went wrong.
bool config_write_needs_elevation(const char* config_path,
                                  const WriteProbeCalls& calls = WriteProbeCalls::system);
