# Windows build (mingw-w64): the real program and the Windows test suites, statically linked so
# that each exe imports only system DLLs.

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
set(MOZHOU_STATIC_LINK -static -static-libgcc -static-libstdc++)
set(MOZHOU_WIN_LIBS user32 gdi32 comdlg32 comctl32 shell32 shlwapi ole32 uuid)

file(GLOB MOZHOU_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp)
add_library(mozhou_win32 STATIC ${MOZHOU_WIN32_SOURCES})
target_include_directories(mozhou_win32 PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(mozhou_win32 PUBLIC mozhou_core ${MOZHOU_WIN_LIBS})
# The core calls the platform and the backend uses the core's image helpers: a cycle of static
# libraries, which CMake repeats on the link line.
target_link_libraries(mozhou_core PUBLIC mozhou_win32)

# Icon, manifest and version information.
configure_file(${CMAKE_SOURCE_DIR}/resources/mozhou.rc.in ${CMAKE_BINARY_DIR}/mozhou.rc @ONLY)
set(MOZHOU_RC ${CMAKE_BINARY_DIR}/mozhou.rc)
set_source_files_properties(${MOZHOU_RC} PROPERTIES OBJECT_DEPENDS
  "${MOZHOU_ART_DIR}/app.ico;${CMAKE_SOURCE_DIR}/resources/mozhou.manifest")

add_executable(mozhou-pen WIN32 ${CMAKE_SOURCE_DIR}/platform/win32/entry/winmain.cpp ${MOZHOU_RC})
target_link_libraries(mozhou-pen PRIVATE mozhou_win32)
target_link_options(mozhou-pen PRIVATE ${MOZHOU_STATIC_LINK} -municode)
add_dependencies(mozhou-pen mozhou_art)

# GoogleTest from Debian's sources, built with this toolchain.
set(MOZHOU_GTEST_SRC /usr/src/googletest/googletest)
if(EXISTS ${MOZHOU_GTEST_SRC}/src/gtest-all.cc)
  add_library(mozhou_gtest STATIC ${MOZHOU_GTEST_SRC}/src/gtest-all.cc)
  # Our port customisation comes first: it replaces GoogleTest's std::mutex-based Notification,
  # which mingw's win32 thread model cannot compile.
  target_include_directories(mozhou_gtest BEFORE PUBLIC ${CMAKE_SOURCE_DIR}/tests/win/gtest_custom)
  target_include_directories(mozhou_gtest PUBLIC ${MOZHOU_GTEST_SRC}/include PRIVATE ${MOZHOU_GTEST_SRC})
  target_compile_options(mozhou_gtest PRIVATE -Wno-error)

  file(GLOB MOZHOU_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
  if(MOZHOU_WIN_TESTS)
    add_executable(mozhou_win_tests ${MOZHOU_WIN_TESTS} ${MOZHOU_RC})
    target_link_libraries(mozhou_win_tests PRIVATE mozhou_win32 mozhou_gtest)
    target_link_options(mozhou_win_tests PRIVATE ${MOZHOU_STATIC_LINK})
  endif()
  # Small helper programs the Windows tests start as other processes.
  file(GLOB MOZHOU_WIN_HELPERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/helpers/*.cpp)
  foreach(src ${MOZHOU_WIN_HELPERS})
    get_filename_component(n ${src} NAME_WE)
    add_executable(${n} ${src})
    target_link_libraries(${n} PRIVATE ${MOZHOU_WIN_LIBS})
    target_link_options(${n} PRIVATE ${MOZHOU_STATIC_LINK} -municode)
  endforeach()
endif()
