# Whatever version the host package has is the one asked for.
set(PACKAGE_VERSION_COMPATIBLE TRUE)
