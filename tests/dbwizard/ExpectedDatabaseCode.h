#pragma once

// Expected texts of the database code, with \n where the code has CR LF.
extern const char* const kAspDefaults;
extern const char* const kAspEmpty;
extern const char* const kAspQuoted;
extern const char* const kPhpDefaults;
extern const char* const kPdoDefaults;
