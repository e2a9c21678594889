# Removes an installation of the editor: every file named in an install manifest, the
# directories of its own that are left empty, and the desktop caches' entries for it.
#   cmake -DVMR_MANIFEST=<build>/install_manifest.txt -P packaging/uninstall.cmake
# (the build's `uninstall` target does this with the last full install's manifest).

if(NOT VMR_MANIFEST)
    message(FATAL_ERROR "Name the install manifest: -DVMR_MANIFEST=<build>/install_manifest.txt")
endif()
if(NOT EXISTS "${VMR_MANIFEST}")
    message(FATAL_ERROR "No install manifest at ${VMR_MANIFEST}: nothing was installed from this build.")
endif()

include("${CMAKE_CURRENT_LIST_DIR}/refresh-caches.cmake")

file(STRINGS "${VMR_MANIFEST}" files)
set(failed)
set(datadirs)
set(dirs)
foreach(file ${files})
    if(NOT IS_ABSOLUTE "${file}")
        continue()
    endif()
    if(EXISTS "${file}" OR IS_SYMLINK "${file}")
        message(STATUS "Removing: ${file}")
        file(REMOVE "${file}")
        if(EXISTS "${file}" OR IS_SYMLINK "${file}")
            list(APPEND failed "${file}")
        endif()
    else()
        message(STATUS "Not installed: ${file}")
    endif()
    get_filename_component(dir "${file}" DIRECTORY)
    list(APPEND dirs "${dir}")
    # share/ of the menu entry, the document type or the icons: its caches name us.
    if(file MATCHES "^(.*)/(applications/[^/]+\\.desktop|mime/packages/[^/]+\\.xml|icons/hicolor/.+)$")
        list(APPEND datadirs "${CMAKE_MATCH_1}")
    endif()
endforeach()

# Directories that only this program uses go when they are left empty: the tree under
# the deepest directory named vmreditor (share/vmreditor/...), never shared ones such as
# bin/ or share/man/man1/. Only empty directories are ever removed.
set(roots)
foreach(dir ${dirs})
    if(dir MATCHES "^(.*/vmreditor)(/|$)")
        list(APPEND roots "${CMAKE_MATCH_1}")
    endif()
endforeach()
list(REMOVE_DUPLICATES roots)
find_program(find_tool find NO_CACHE)
foreach(root ${roots})
    if(IS_DIRECTORY "${root}" AND find_tool)
        execute_process(COMMAND "${find_tool}" "${root}" -depth -type d -empty -delete
            RESULT_VARIABLE rc ERROR_QUIET)
    endif()
endforeach()

list(REMOVE_DUPLICATES datadirs)
foreach(datadir ${datadirs})
    vmr_refresh_desktop_caches("${datadir}")
endforeach()

if(failed)
    list(JOIN failed "\n  " failed)
    message(FATAL_ERROR "Could not remove:\n  ${failed}")
endif()
