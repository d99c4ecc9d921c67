# Read by cpack while it builds a package.
set(ENV{TALV_PACKAGING} 1)
