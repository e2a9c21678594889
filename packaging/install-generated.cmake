# Runs at install time (from cmake/install.cmake). Writes the files that must name the
# final location of the installation: the launcher (relative, so the tree may be moved),
# the profile snippet and the menu entry (absolute). CMAKE_INSTALL_PREFIX is the prefix
# given to `cmake --install`; DESTDIR, when set, only decides where the files land.
#
# Set by the caller: VMR_PACKAGING_DIR, VMR_GENERATED_DIR, VMR_BINDIR, VMR_DATADIR,
# VMR_SYSCONFDIR, VMR_ORBISKDIR (the last four relative to the prefix or absolute).

include("${VMR_PACKAGING_DIR}/refresh-caches.cmake")

get_filename_component(_vmr_prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
string(REGEX MATCH "[\n\r]" _vmr_bad "${_vmr_prefix}")
if(_vmr_bad)
    message(FATAL_ERROR "The installation prefix contains a line break: ${_vmr_prefix}")
endif()

function(_vmr_full_path out dir)
    if(IS_ABSOLUTE "${dir}")
        set(${out} "${dir}" PARENT_SCOPE)
    elseif(_vmr_prefix STREQUAL "/")
        set(${out} "/${dir}" PARENT_SCOPE)
    else()
        set(${out} "${_vmr_prefix}/${dir}" PARENT_SCOPE)
    endif()
endfunction()

# One word for a POSIX shell, taken literally whatever it contains.
function(_vmr_shell_quote out value)
    string(REPLACE "'" "'\\''" value "${value}")
    set(${out} "'${value}'" PARENT_SCOPE)
endfunction()

# One argument of a desktop entry's Exec key: quoted when it holds a reserved character,
# with the quoting escapes, the field-code escape and the string-value escape applied.
function(_vmr_desktop_exec_word out value)
    set(needs_quotes FALSE)
    foreach(c " " "\t" "\"" "'" "\\" ">" "<" "~" "|" "&" ";" "$" "*" "?" "#" "(" ")" "`")
        string(FIND "${value}" "${c}" at)
        if(NOT at EQUAL -1)
            set(needs_quotes TRUE)
        endif()
    endforeach()
    if(needs_quotes)
        string(REPLACE "\\" "\\\\" value "${value}")
        string(REPLACE "\"" "\\\"" value "${value}")
        string(REPLACE "`" "\\`" value "${value}")
        string(REPLACE "$" "\\$" value "${value}")
        set(value "\"${value}\"")
    endif()
    string(REPLACE "%" "%%" value "${value}")
    string(REPLACE "\\" "\\\\" value "${value}")
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

_vmr_full_path(_vmr_bindir "${VMR_BINDIR}")
_vmr_full_path(_vmr_datadir "${VMR_DATADIR}")
_vmr_full_path(_vmr_orbiskdir "${VMR_ORBISKDIR}")
# A system installation keeps its configuration in /etc, where login shells read it.
if(NOT IS_ABSOLUTE "${VMR_SYSCONFDIR}" AND _vmr_prefix STREQUAL "/usr")
    set(_vmr_sysconfdir "/etc")
else()
    _vmr_full_path(_vmr_sysconfdir "${VMR_SYSCONFDIR}")
endif()

string(MD5 _vmr_key "$ENV{DESTDIR}|${_vmr_prefix}")
set(_vmr_gen "${VMR_GENERATED_DIR}/${_vmr_key}")

# The launcher finds the installation directory from its own location.
file(RELATIVE_PATH _vmr_rel "${_vmr_bindir}" "${_vmr_orbiskdir}")
_vmr_shell_quote(VMR_LAUNCH_ORBISKDIR "${_vmr_rel}")
configure_file("${VMR_PACKAGING_DIR}/vmreditor-launch.in" "${_vmr_gen}/vmreditor-launch" @ONLY)
file(INSTALL DESTINATION "${_vmr_bindir}" TYPE PROGRAM FILES "${_vmr_gen}/vmreditor-launch")

_vmr_shell_quote(VMR_SH_ORBISKDIR "${_vmr_orbiskdir}")
_vmr_shell_quote(VMR_SH_BINDIR "${_vmr_bindir}")
_vmr_shell_quote(VMR_SH_DATADIR "${_vmr_datadir}")
configure_file("${VMR_PACKAGING_DIR}/vmreditor.sh.in" "${_vmr_gen}/vmreditor.sh" @ONLY)
file(INSTALL DESTINATION "${_vmr_sysconfdir}/profile.d" TYPE FILE FILES "${_vmr_gen}/vmreditor.sh")

_vmr_desktop_exec_word(VMR_DESKTOP_EXEC "${_vmr_bindir}/vmreditor-launch")
string(REPLACE "\\" "\\\\" VMR_DESKTOP_TRYEXEC "${_vmr_bindir}/vmreditor-launch")
configure_file("${VMR_PACKAGING_DIR}/vmreditor.desktop.in" "${_vmr_gen}/vmreditor.desktop" @ONLY)
file(INSTALL DESTINATION "${_vmr_datadir}/applications" TYPE FILE
    FILES "${_vmr_gen}/vmreditor.desktop")

# Written afresh by every install; nothing to keep in the build tree.
file(REMOVE_RECURSE "${_vmr_gen}")

# Packagers stage into DESTDIR and let the system's triggers rebuild the caches.
if("$ENV{DESTDIR}" STREQUAL "")
    vmr_refresh_desktop_caches("${_vmr_datadir}")
endif()
