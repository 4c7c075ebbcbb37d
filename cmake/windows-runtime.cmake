# Installs, beside the programs, every DLL they load that Windows does not have, so that the
# folder runs wherever it is unzipped: Qt's libraries; its plugins for the platform, for the
# JPEG of the circuit picture and for the native style; and the MinGW runtime, which comes with
# its debugging information (24 MB for libstdc++ alone) and is stripped as it is installed.
install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets> DESTINATION bin)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION bin/platforms)
install(FILES $<TARGET_FILE:Qt6::QJpegPlugin> DESTINATION bin/imageformats)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION bin/styles)

foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  if(NOT IS_ABSOLUTE "${path}")
    message(FATAL_ERROR "The compiler does not know where ${dll} is")
  endif()
  install(FILES "${path}" DESTINATION bin)
  install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded
                                        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/${dll}\"
                                COMMAND_ERROR_IS_FATAL ANY)")
endforeach()

# Qt's own texts in the user's language, which the program looks for in translations/ beside
# it. The prebuilt Qt for MinGW-w64 has none; Debian's (qt6-translations-l10n) are of the same
# Qt version. They are copied beside the build's programs too, where the tests run.
set(WIENBRIDGE_QT_TRANSLATIONS "/usr/share/qt6/translations" CACHE PATH "The folder of Qt's qtbase_*.qm")
file(GLOB qtbase_translations "${WIENBRIDGE_QT_TRANSLATIONS}/qtbase_*.qm")
if(NOT qtbase_translations)
  message(FATAL_ERROR "No qtbase_*.qm in ${WIENBRIDGE_QT_TRANSLATIONS} (Debian: qt6-translations-l10n)")
endif()
install(FILES ${qtbase_translations} DESTINATION bin/translations)
file(COPY ${qtbase_translations} DESTINATION "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/translations")
