# Windows build: the adapters, vornick.exe and the adapter tests (run under Wine on Linux).
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
if(MINGW)
  # One file, no runtime DLLs; wmain/wWinMain entry points.
  set(VORNICK_STATIC_LINK -static -static-libgcc -static-libstdc++)
  set(VORNICK_UNICODE_ENTRY -municode)
else()
  # MSVC (static runtime set in the top CMakeLists): the linker finds wmain/wWinMain by itself.
  set(VORNICK_STATIC_LINK)
  set(VORNICK_UNICODE_ENTRY)
endif()

file(GLOB VORNICK_WIN32_SOURCES CONFIGURE_DEPENDS src/platform/win32/*.cpp)
list(FILTER VORNICK_WIN32_SOURCES EXCLUDE REGEX "/main\\.cpp$")
add_library(vornick_win32 STATIC ${VORNICK_WIN32_SOURCES})
target_link_libraries(vornick_win32 PUBLIC vornick_core
  user32 gdi32 comctl32 comdlg32 shell32 ole32 uuid advapi32 msimg32)

if(EXISTS ${CMAKE_SOURCE_DIR}/src/platform/win32/main.cpp)
  add_executable(vornick WIN32 src/platform/win32/main.cpp res/vornick.rc)
  target_link_libraries(vornick PRIVATE vornick_win32)
  target_link_options(vornick PRIVATE ${VORNICK_STATIC_LINK} ${VORNICK_UNICODE_ENTRY})
  if(MSVC)
    # The manifest is compiled in from the resource script.
    target_link_options(vornick PRIVATE /MANIFEST:NO)
  endif()
endif()

# GoogleTest: Debian's source package built with the same cross compiler, or an installed one (MSYS2, vcpkg).
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
file(GLOB WIN32_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/*.cpp)
if(EXISTS ${GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
  add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(VORNICK_GTEST gtest gtest_main gmock)
else()
  find_package(GTest)
  if(GTest_FOUND)
    set(VORNICK_GTEST GTest::gtest GTest::gtest_main GTest::gmock)
  else()
    message(STATUS "GoogleTest not found: building vornick.exe without win32_tests")
  endif()
endif()
if(WIN32_TEST_SOURCES AND VORNICK_GTEST)
  add_executable(win32_tests ${WIN32_TEST_SOURCES})
  target_include_directories(win32_tests PRIVATE tests/win32)
  target_link_libraries(win32_tests PRIVATE vornick_win32 ${VORNICK_GTEST})
  target_link_options(win32_tests PRIVATE ${VORNICK_STATIC_LINK})
endif()

# Helper programs for the end-to-end tests and the benchmarks (console, wmain). They may use the
# form tables (to find controls by name) and the UTF-8/UTF-16 helpers.
file(GLOB E2E_HELPER_SOURCES CONFIGURE_DEPENDS tests/e2e/helpers/*.cpp bench/helpers/*.cpp)
foreach(src ${E2E_HELPER_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE vornick_win32 user32 gdi32)
  target_link_options(${name} PRIVATE ${VORNICK_STATIC_LINK} ${VORNICK_UNICODE_ENTRY})
endforeach()
