; What the sample installers share: the publisher, and the Uninstall entry
; they all write the same way. The build passes SAMPLE_BIN (the folder of the
; built sample programs) and OUT_DIR (where the installer goes) with -D.
!ifndef SAMPLE_BIN
  !error "makensis needs -DSAMPLE_BIN=<folder of the sample programs>"
!endif
!ifndef OUT_DIR
  !error "makensis needs -DOUT_DIR=<output folder>"
!endif

!include FileFunc.nsh

Unicode true
SetCompressor /SOLID lzma
!define PUBLISHER "Orvix Samples"
!define UNINSTALL_KEYS "Software\Microsoft\Windows\CurrentVersion\Uninstall"

; The values of the Uninstall entry ROOT\Uninstall\KEY that describe the
; program NAME with the main program EXE in $INSTDIR, without its install
; folder or uninstall commands; EstimatedSize is the size of $INSTDIR in KB.
!macro WriteUninstallDescription ROOT KEY NAME VERSION EXE SLUG
  WriteRegStr ${ROOT} "${UNINSTALL_KEYS}\${KEY}" "DisplayName" "${NAME}"
  WriteRegStr ${ROOT} "${UNINSTALL_KEYS}\${KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr ${ROOT} "${UNINSTALL_KEYS}\${KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr ${ROOT} "${UNINSTALL_KEYS}\${KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr ${ROOT} "${UNINSTALL_KEYS}\${KEY}" "URLInfoAbout" "https://orvix-samples.example/${SLUG}"
  WriteRegStr ${ROOT} "${UNINSTALL_KEYS}\${KEY}" "HelpLink" "https://orvix-samples.example/${SLUG}/help"
  WriteRegDWORD ${ROOT} "${UNINSTALL_KEYS}\${KEY}" "NoModify" 1
  WriteRegDWORD ${ROOT} "${UNINSTALL_KEYS}\${KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD ${ROOT} "${UNINSTALL_KEYS}\${KEY}" "EstimatedSize" $0
!macroend

; The whole Uninstall entry as most of the samples write it: the description,
; the install folder, and the uninstaller uninstall.exe there.
!macro WriteUninstallEntry ROOT KEY NAME VERSION EXE SLUG
  !insertmacro WriteUninstallDescription ${ROOT} "${KEY}" "${NAME}" "${VERSION}" "${EXE}" "${SLUG}"
  WriteRegStr ${ROOT} "${UNINSTALL_KEYS}\${KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr ${ROOT} "${UNINSTALL_KEYS}\${KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr ${ROOT} "${UNINSTALL_KEYS}\${KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
!macroend
