# Application images: code compiled for the image (freestanding i686 C++ or
# assembler) and turned into an image by the host tool sutakiba-image. Works in
# both builds: the host build runs its own tool, the Windows build the one of
# the host build named by SUTAKIBA_HOST_BUILD.

find_program(SUTAKIBA_IMAGE_CXX i686-w64-mingw32-g++-posix REQUIRED)

# The code shape the image format needs: a frame pointer in every function,
# calls of imports as 5-byte E8 calls, no unwind tables, no hidden helpers.
set(SUTAKIBA_IMAGE_FLAGS
    -std=c++20 -O2 -ffreestanding -fno-exceptions -fno-rtti
    -fno-asynchronous-unwind-tables -fno-unwind-tables
    -fno-omit-frame-pointer -pg -mnop-mcount
    -fno-optimize-sibling-calls -fno-schedule-insns2
    -fno-reorder-functions -fno-reorder-blocks-and-partition
    -fno-devirtualize-speculatively -fno-function-cse
    -fno-stack-protector -fno-threadsafe-statics
    -mno-stack-arg-probe -Werror=frame-larger-than=4000
    -minline-all-stringops -fno-tree-loop-distribute-patterns -fno-math-errno -fno-ident
    -finput-charset=UTF-8 -fexec-charset=CP932
    -Wall -Wextra)
set(SUTAKIBA_IMAGE_INCLUDES -I${CMAKE_SOURCE_DIR}/app/support -I${CMAKE_SOURCE_DIR}/runtime
    -I${CMAKE_SOURCE_DIR}/plugins)

if(CMAKE_CROSSCOMPILING)
  if(NOT SUTAKIBA_HOST_BUILD)
    message(FATAL_ERROR "Configure the Windows build with -DSUTAKIBA_HOST_BUILD=<host build folder> (the Makefile does)")
  endif()
  set(SUTAKIBA_IMAGE_TOOL ${SUTAKIBA_HOST_BUILD}/tools/image/sutakiba-image)
else()
  set(SUTAKIBA_IMAGE_TOOL $<TARGET_FILE:sutakiba-image>)
endif()

# sutakiba_image_objects(<out-var> <folder> <sources...>): compiles C++ (.cpp)
# and assembler (.S) sources for the image into <folder>; sets <out-var> to the
# object files.
function(sutakiba_image_objects out_var folder)
  set(objects)
  foreach(source IN LISTS ARGN)
    get_filename_component(path ${source} ABSOLUTE)
    get_filename_component(name ${source} NAME)
    set(object ${folder}/${name}.o)
    add_custom_command(OUTPUT ${object}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
      COMMAND ${SUTAKIBA_IMAGE_CXX} ${SUTAKIBA_IMAGE_FLAGS} ${SUTAKIBA_IMAGE_INCLUDES}
              -MD -MF ${object}.d -c ${path} -o ${object}
      DEPENDS ${path}
      DEPFILE ${object}.d
      COMMENT "Compiling ${name} for an application image"
      VERBATIM)
    list(APPEND objects ${object})
  endforeach()
  set(${out_var} ${objects} PARENT_SCOPE)
endfunction()

# sutakiba_add_image(<target> PROJECT <file> SOURCES <sources...>
#                    [EXE <out.exe> RUNTIME <runtime target>] [DEV_DIR <folder>]
#                    [IMAGE <file>] [OBJECTS_VAR <var>]
#                    [PLUGINS <DLL targets...>])
# Compiles the sources and runs the tool: EXE is a copy of the runtime with the
# image appended, DEV_DIR gets the four development files, IMAGE the bare image.
# OBJECTS_VAR receives the object files. PLUGINS are the DLL targets whose files
# the description's "plugin" statements embed (they must share one folder).
function(sutakiba_add_image target)
  cmake_parse_arguments(I "" "PROJECT;EXE;RUNTIME;DEV_DIR;IMAGE;OBJECTS_VAR" "SOURCES;PLUGINS" ${ARGN})
  get_filename_component(project ${I_PROJECT} ABSOLUTE)
  sutakiba_image_objects(objects ${CMAKE_CURRENT_BINARY_DIR}/${target}.objects ${I_SOURCES})
  set(outputs)
  set(arguments --project ${project})
  set(depends ${objects} ${project})
  if(I_EXE)
    list(APPEND arguments --runtime $<TARGET_FILE:${I_RUNTIME}> --exe ${I_EXE})
    list(APPEND outputs ${I_EXE})
    list(APPEND depends ${I_RUNTIME})
  endif()
  if(I_DEV_DIR)
    list(APPEND arguments --dev-dir ${I_DEV_DIR})
    foreach(file code1.dat code2.dat data1.dat data2.dat)
      list(APPEND outputs ${I_DEV_DIR}/${file})
    endforeach()
  endif()
  if(I_IMAGE)
    list(APPEND arguments --image ${I_IMAGE})
    list(APPEND outputs ${I_IMAGE})
  endif()
  if(I_PLUGINS)
    list(GET I_PLUGINS 0 first_plugin)
    list(APPEND arguments --plugin-dir $<TARGET_FILE_DIR:${first_plugin}>)
    list(APPEND depends ${I_PLUGINS})
  endif()
  if(CMAKE_CROSSCOMPILING)
    list(APPEND depends ${SUTAKIBA_IMAGE_TOOL})
  else()
    list(APPEND depends sutakiba-image)
  endif()
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${SUTAKIBA_IMAGE_TOOL} ${arguments} ${objects}
    DEPENDS ${depends}
    COMMENT "Making the application image ${target}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${outputs})
  if(I_OBJECTS_VAR)
    set(${I_OBJECTS_VAR} ${objects} PARENT_SCOPE)
  endif()
endfunction()
