# The posix thread model, which GoogleTest needs for std::mutex; the program itself starts no
# threads, so winpthread stays out of it (the audit checks its imports).
set(CMAKE_C_COMPILER ${BRISVANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRISVANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${BRISVANE_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${BRISVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
