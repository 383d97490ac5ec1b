# The Debian package of Chromint, made by CPack's DEB generator from the install() rules:
#
#     cpack -G DEB --config <build>/CPackConfig.cmake
#
# scripts/package.sh configures a Release build for it (installed under /usr, no RPATH) and
# prints the path of the package. The version is project(VERSION).

include_guard(GLOBAL)
include(GNUInstallDirs)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME chromint)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Qelvo Lab")
set(CPACK_PACKAGE_CONTACT "Qelvo Lab <chromint@qelvo.example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://qelvo.example.org/chromint/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "colour picker for the screen and pictures, copied as code")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# After stripping, the compiler's version notes go too (cmake/PackageStripComments.cmake).
find_program(CHROMINT_OBJCOPY NAMES objcopy)
if(CHROMINT_OBJCOPY)
    set(CPACK_CHROMINT_OBJCOPY ${CHROMINT_OBJCOPY})
    set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackageStripComments.cmake)
endif()
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_NAME chromint)
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE "")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Qelvo Lab <chromint@qelvo.example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://qelvo.example.org/chromint/")
# The long description; CPack puts the summary above it and indents it as Debian wants (an
# empty line becomes " .").
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Chromint keeps one current colour and shows it at once as RGB, HSL, CMYK
and CIE L*a*b* numbers, in hue pickers and slider bars, and as the nearest
web-safe colour.

Colours are picked from anywhere on the screen, on X11 and on Wayland
(through the desktop portal), and from pictures: PNG, JPEG, GIF, BMP, TIFF,
Targa, PCX, SGI, Photoshop, Paint Shop Pro and more. The colour is copied
as code in many notations (HTML, C++, Java, Delphi, Basic, RGB, HSL, CMYK,
Lab). Colour schemes, blends, sepia tones and 36 favourite colours help to
build palettes.")

# Libraries the executable and its picture module link, found by dpkg-shlibdeps; and the Qt
# plugins it loads at run time, which no link shows: the SVG icon engine and image reader
# (libqt6svg6), the extra picture readers (TIFF, TGA, ...) and the Wayland platform.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-image-formats-plugins, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-desktop-portal")
# Directories of the package are root's and not writable by others.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include(CPack)
