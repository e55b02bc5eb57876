# What a user gets. Windows: version resources and the application icon on
# the shipped binaries, and a `release` target that assembles the program
# folder, its zip and its installer. Linux: a `release` target that makes the
# Debian package of the command-line tool. scripts/release.sh runs both.
set(QF_DIST_DIR ${CMAKE_SOURCE_DIR}/dist CACHE PATH "Folder that receives the release files")
set(qf_packaging ${CMAKE_SOURCE_DIR}/packaging)
set(qf_generated ${CMAKE_BINARY_DIR}/packaging)

if(WIN32)
  # The manifest names the product and version that platform/version.h holds.
  file(STRINGS ${CMAKE_SOURCE_DIR}/platform/version.h qf_name_line REGEX "^#define QF_PRODUCT_NAME ")
  string(REGEX REPLACE "^#define QF_PRODUCT_NAME \"(.*)\"$" "\\1" QF_PRODUCT_NAME "${qf_name_line}")
  configure_file(${CMAKE_SOURCE_DIR}/app/quillfern.manifest.in ${qf_generated}/quillfern.manifest @ONLY)

  # The icon comes from the skin generator, with the same interpreter rule.
  find_program(QF_ICON_PYTHON NAMES python3 HINTS /usr/bin NO_CACHE REQUIRED)
  set(qf_icon ${qf_generated}/quillfern.ico)
  add_custom_command(
    OUTPUT ${qf_icon}
    COMMAND ${QF_ICON_PYTHON} ${CMAKE_SOURCE_DIR}/tools/skin/make_skin.py --icon ${qf_icon}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/skin/make_skin.py
    COMMENT "Drawing the application icon"
    VERBATIM)
  add_custom_target(app_icon DEPENDS ${qf_icon})

  # qf_binary_resources(TARGET SCRIPT): the resource script of a shipped
  # binary (already among its sources) sees packaging/binary_resources.rc,
  # platform/version.h and the icon, and is compiled again when they change.
  function(qf_binary_resources target script)
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR} ${qf_generated})
    set_property(SOURCE ${script} TARGET_DIRECTORY ${target} APPEND PROPERTY OBJECT_DEPENDS
      ${qf_packaging}/binary_resources.rc ${CMAKE_SOURCE_DIR}/platform/version.h ${qf_icon}
      ${qf_generated}/quillfern.manifest)
    add_dependencies(${target} app_icon)
  endfunction()

  # Binaries without a resource script of their own get a generated one.
  function(qf_generated_resources target file_type description file_name)
    set(script ${qf_generated}/${target}_resources.rc)
    file(CONFIGURE OUTPUT ${script} CONTENT
"#define QF_FILE_TYPE ${file_type}
#define QF_FILE_DESCRIPTION \"${description}\"
#define QF_ORIGINAL_FILENAME \"${file_name}\"
#include \"packaging/binary_resources.rc\"
")
    target_sources(${target} PRIVATE ${script})
    qf_binary_resources(${target} ${script})
  endfunction()

  qf_binary_resources(quillfern_app ${CMAKE_SOURCE_DIR}/app/app.rc)
  qf_generated_resources(quillfern VFT_APP "Tarnwick Quillfern command-line tool" "quillfern-cli.exe")
  qf_generated_resources(morvatch VFT_DLL "Tarnwick record parser library" "morvatch.dll")

  add_custom_target(release
    COMMAND bash ${qf_packaging}/windows-release.sh
      ${CMAKE_BINARY_DIR} ${QF_DEPS_PREFIX}/../src ${QF_DIST_DIR} ${PROJECT_VERSION}
    DEPENDS quillfern_app quillfern morvatch skin_images
    COMMENT "Assembling the Windows release in ${QF_DIST_DIR}"
    VERBATIM)
elseif(NOT QF_SANITIZE AND NOT QF_TSAN)
  add_custom_target(release
    COMMAND bash ${qf_packaging}/debian-package.sh
      $<TARGET_FILE:quillfern> $<TARGET_FILE:morvatch> ${CMAKE_BINARY_DIR}/tools/quillfern/template.html
      ${QF_DIST_DIR} ${PROJECT_VERSION}
    DEPENDS quillfern morvatch
    COMMENT "Making the Debian package in ${QF_DIST_DIR}"
    VERBATIM)
endif()
