; Orvix Sample Journal: a per-user program as many current installers make
; them: Modern UI pages, no administrator rights, the user's local Programs
; folder, an Uninstall entry named after the program without InstallLocation
; whose uninstaller, named after the program too, takes a switch. It
; registers a file type of its own in the user's classes (with "Open with"
; entries, one of them on the text files every program shares), its
; capabilities for Default Programs, a Start-menu folder and a taskbar pin.
; Its uninstaller removes the program, the file type and the Start-menu
; folder, and forgets the "Open with" application, the text files' entry,
; the capabilities with their RegisteredApplications value, and the pin.
!include "orvix_samples.nsh"
!include "MUI2.nsh"

!define PRODUCT "Orvix Sample Journal"
!define VERSION "5.2.0"
!define KEY "${PRODUCT}"
!define EXE "OrvixJournal.exe"
!define UNINSTALLER "Uninstall ${PRODUCT}.exe"
!define CLASSES "Software\Classes"
!define EXTENSION ".orvjournal"
!define PROG_ID "OrvixSamples.JournalEntry"
!define CAPABILITIES "Software\${PUBLISHER}\Sample Journal\Capabilities"
!define PINNED "$QUICKLAUNCH\User Pinned\TaskBar"

Name "${PRODUCT}"
OutFile "${OUT_DIR}/OrvixSampleJournalSetup.exe"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
RequestExecutionLevel user

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${SAMPLE_BIN}/${EXE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKCU "${CLASSES}\${EXTENSION}" "" "${PROG_ID}"
  WriteRegNone HKCU "${CLASSES}\${EXTENSION}\OpenWithProgids" "${PROG_ID}"
  WriteRegStr HKCU "${CLASSES}\${PROG_ID}" "" "${PRODUCT} entry"
  WriteRegStr HKCU "${CLASSES}\${PROG_ID}\DefaultIcon" "" "$INSTDIR\${EXE},0"
  WriteRegStr HKCU "${CLASSES}\${PROG_ID}\shell\open\command" "" '"$INSTDIR\${EXE}" "%1"'
  WriteRegStr HKCU "${CLASSES}\Applications\${EXE}" "FriendlyAppName" "${PRODUCT}"
  WriteRegNone HKCU "${CLASSES}\Applications\${EXE}\SupportedTypes" "${EXTENSION}"
  WriteRegNone HKCU "${CLASSES}\Applications\${EXE}\SupportedTypes" ".txt"
  WriteRegStr HKCU "${CLASSES}\Applications\${EXE}\shell\open\command" "" '"$INSTDIR\${EXE}" "%1"'
  WriteRegNone HKCU "${CLASSES}\.txt\OpenWithList" "${EXE}"

  WriteRegStr HKCU "${CAPABILITIES}" "ApplicationName" "${PRODUCT}"
  WriteRegStr HKCU "${CAPABILITIES}" "ApplicationDescription" "Keeps a journal, one entry a day."
  WriteRegStr HKCU "${CAPABILITIES}" "ApplicationIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKCU "${CAPABILITIES}\FileAssociations" "${EXTENSION}" "${PROG_ID}"
  WriteRegStr HKCU "Software\RegisteredApplications" "${PRODUCT}" "${CAPABILITIES}"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\${EXE}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\${UNINSTALLER}" "/currentuser"
  ; The shortcut the taskbar keeps for a pinned program.
  CreateDirectory "${PINNED}"
  CreateShortcut "${PINNED}\${PRODUCT}.lnk" "$INSTDIR\${EXE}"

  !insertmacro WriteUninstallDescription HKCU "${KEY}" "${PRODUCT}" "${VERSION}" "${EXE}" "journal"
  WriteRegStr HKCU "${UNINSTALL_KEYS}\${KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}" /currentuser'
  WriteRegStr HKCU "${UNINSTALL_KEYS}\${KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /currentuser /S'
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  RMDir /r "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKCU "${CLASSES}\${EXTENSION}"
  DeleteRegKey HKCU "${CLASSES}\${PROG_ID}"
  DeleteRegKey HKCU "${UNINSTALL_KEYS}\${KEY}"
SectionEnd
