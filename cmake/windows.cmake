# Windows build: the adapters, vornick.exe and the adapter tests (run under Wine on Linux).
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
if(MINGW)
  # One file, no runtime DLLs (MSVC: the static runtime is chosen in the top CMakeLists); wmain/wWinMain entry
  # points (MSVC's linker finds them by itself).
  set(VORNICK_STATIC_LINK -static -static-libgcc -static-libstdc++)
  set(VORNICK_UNICODE_ENTRY -municode)
endif()

file(GLOB VORNICK_WIN32_SOURCES CONFIGURE_DEPENDS src/platform/win32/*.cpp)
list(FILTER VORNICK_WIN32_SOURCES EXCLUDE REGEX "/main\\.cpp$")
# The code page table is called by the portable core, so it is built into it (as iconv's is on Linux).
list(FILTER VORNICK_WIN32_SOURCES EXCLUDE REGEX "/code_page_936\\.cpp$")
target_sources(vornick_core PRIVATE src/platform/win32/code_page_936.cpp)
add_library(vornick_win32 STATIC ${VORNICK_WIN32_SOURCES})
target_link_libraries(vornick_win32 PUBLIC vornick_core
  user32 gdi32 comctl32 shell32 ole32 uuid advapi32 msimg32)  # comdlg32: loaded when the colour dialog opens

add_executable(vornick WIN32 src/platform/win32/main.cpp res/vornick.rc)
target_link_libraries(vornick PRIVATE vornick_win32)
target_link_options(vornick PRIVATE ${VORNICK_STATIC_LINK} ${VORNICK_UNICODE_ENTRY})
if(MSVC)
  target_link_options(vornick PRIVATE /MANIFEST:NO)  # the resource script compiles the manifest in
endif()

# GoogleTest from Debian's source package, built with the same cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
if(EXISTS ${GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
  add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  # On Windows: an installed GoogleTest (MSYS2's package, vcpkg), under the names its sources give.
  find_package(GTest REQUIRED)
  add_library(gtest ALIAS GTest::gtest)
  add_library(gtest_main ALIAS GTest::gtest_main)
  add_library(gmock ALIAS GTest::gmock)
endif()

# The in-memory fakes serve the adapter tests too (e.g. a form for the settings file on real disks).
file(GLOB WIN32_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/*.cpp tests/unit/fakes/*.cpp)
add_executable(win32_tests ${WIN32_TEST_SOURCES})
target_include_directories(win32_tests PRIVATE tests/win32 tests/unit)
target_link_libraries(win32_tests PRIVATE vornick_win32 gtest gtest_main gmock)
target_link_options(win32_tests PRIVATE ${VORNICK_STATIC_LINK})

# Helper programs for the end-to-end tests and the benchmarks (console, wmain). They may use the form tables,
# to find controls by name, and the UTF-8/UTF-16 helpers.
file(GLOB E2E_HELPER_SOURCES CONFIGURE_DEPENDS tests/e2e/helpers/*.cpp bench/helpers/*.cpp)
foreach(src ${E2E_HELPER_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE vornick_win32 user32 gdi32)
  target_link_options(${name} PRIVATE ${VORNICK_STATIC_LINK} ${VORNICK_UNICODE_ENTRY})
endforeach()
