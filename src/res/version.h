#pragma once
// The version of setup and of the product it installs: the one place that
// the version resource (version.rc) and the product's entry in the system's
// list of installed programs read. Narrow strings, as the resource compiler
// takes them; code widens them by concatenation (L"" SETUP_VERSION_TEXT).

#define SETUP_VERSION_MAJOR 6
#define SETUP_VERSION_MINOR 0
#define SETUP_VERSION_BUILD 1218

#define SETUP_VERSION_STRINGIZE(x) #x
#define SETUP_VERSION_JOIN(major, minor, build) \
    SETUP_VERSION_STRINGIZE(major) "." SETUP_VERSION_STRINGIZE(minor) "." SETUP_VERSION_STRINGIZE(build)
#define SETUP_VERSION_TEXT SETUP_VERSION_JOIN(SETUP_VERSION_MAJOR, SETUP_VERSION_MINOR, SETUP_VERSION_BUILD)

#define SETUP_COMPANY_NAME "Velmar"
#define SETUP_PRODUCT_NAME "Tapewright"
#define SETUP_FILE_DESCRIPTION "Tapewright Setup"
