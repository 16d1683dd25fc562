# Cross build for x86_64 Windows with Debian's MinGW-w64 (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(RIZER_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${RIZER_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RIZER_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${RIZER_TRIPLET}-windres)
# libjpeg and libsodium built by scripts/build-libjpeg.sh and
# build-libsodium.sh: .deps/<library>/<triplet>.
set(RIZER_DEPS ${CMAKE_CURRENT_LIST_DIR}/../.deps)
set(CMAKE_FIND_ROOT_PATH /usr/${RIZER_TRIPLET} ${RIZER_DEPS}/libjpeg/${RIZER_TRIPLET}
    ${RIZER_DEPS}/libsodium/${RIZER_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
