# cmake --install: libraries, headers under include/kivfx, the KivFXKeyFrm CMake package
# (KivFX::KivFXKeyFrm) and kivfxkeyfrm.pc.
include(CMakePackageConfigHelpers)

install(TARGETS kivplatform kivbase KivFXKeyFrm EXPORT KivFXKeyFrmTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

foreach(dir platform kivbase keyfrm)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${dir}/ DESTINATION ${KIVFX_INSTALL_INCLUDE}/${dir}
    FILES_MATCHING PATTERN "*.h")
endforeach()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/kivfx/ DESTINATION ${KIVFX_INSTALL_INCLUDE}
  FILES_MATCHING PATTERN "*.h")

set(KIVFX_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/KivFXKeyFrm)
install(EXPORT KivFXKeyFrmTargets NAMESPACE KivFX:: DESTINATION ${KIVFX_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/KivFXKeyFrmConfig.cmake.in
  ${PROJECT_BINARY_DIR}/KivFXKeyFrmConfig.cmake INSTALL_DESTINATION ${KIVFX_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/KivFXKeyFrmConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/KivFXKeyFrmConfig.cmake
  ${PROJECT_BINARY_DIR}/KivFXKeyFrmConfigVersion.cmake DESTINATION ${KIVFX_CMAKE_DIR})

configure_file(${PROJECT_SOURCE_DIR}/cmake/kivfxkeyfrm.pc.in ${PROJECT_BINARY_DIR}/kivfxkeyfrm.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/kivfxkeyfrm.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
