# Windows build: the adapters, vornick.exe and the adapter tests (run under Wine on Linux).
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
set(VORNICK_STATIC_LINK -static -static-libgcc -static-libstdc++)

file(GLOB VORNICK_WIN32_SOURCES CONFIGURE_DEPENDS src/platform/win32/*.cpp)
list(FILTER VORNICK_WIN32_SOURCES EXCLUDE REGEX "/main\\.cpp$")
# The code page table is called by the portable core, so it is built into it (as iconv's is on Linux).
list(FILTER VORNICK_WIN32_SOURCES EXCLUDE REGEX "/code_page_936\\.cpp$")
target_sources(vornick_core PRIVATE src/platform/win32/code_page_936.cpp)
add_library(vornick_win32 STATIC ${VORNICK_WIN32_SOURCES})
target_link_libraries(vornick_win32 PUBLIC vornick_core
  user32 gdi32 comctl32 comdlg32 shell32 ole32 uuid advapi32 msimg32)

add_executable(vornick WIN32 src/platform/win32/main.cpp res/vornick.rc)
target_link_libraries(vornick PRIVATE vornick_win32)
target_link_options(vornick PRIVATE ${VORNICK_STATIC_LINK} -municode)

# GoogleTest from Debian's source package, built with the same cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The in-memory fakes serve the adapter tests too (e.g. a form for the settings file on real disks).
file(GLOB WIN32_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/*.cpp tests/unit/fakes/*.cpp)
add_executable(win32_tests ${WIN32_TEST_SOURCES})
target_include_directories(win32_tests PRIVATE tests/win32 tests/unit)
target_link_libraries(win32_tests PRIVATE vornick_win32 gtest gtest_main gmock)
target_link_options(win32_tests PRIVATE ${VORNICK_STATIC_LINK})

# Helper programs for the end-to-end tests and the benchmarks.
file(GLOB E2E_HELPER_SOURCES CONFIGURE_DEPENDS tests/e2e/helpers/*.cpp bench/helpers/*.cpp)
foreach(src ${E2E_HELPER_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE user32 gdi32)
  target_link_options(${name} PRIVATE ${VORNICK_STATIC_LINK} -municode)
endforeach()
