; Orvix Sample Mixer: a per-machine 32-bit program in nested folders, as
; the classic NSIS example installs one: a vendor key with the install path,
; settings in an INI file the installer writes beside the program, a
; Start-menu folder, and an Uninstall entry without InstallLocation or a
; quiet command whose uninstall command takes an argument. Its uninstaller
; removes the program, its plugins, the Start-menu folder and the Uninstall
; entry, and forgets the data folder, the INI file (so the install folder
; stays) and the vendor key.
!include "orvix_samples.nsh"

!define PRODUCT "Orvix Sample Mixer"
!define VERSION "1.7.3"
!define KEY "OrvixSampleMixer"
!define EXE "OrvixMixer.exe"
!define VENDOR_KEY "Software\${PUBLISHER}\Sample Mixer"

Name "${PRODUCT}"
OutFile "${OUT_DIR}/OrvixSampleMixerSetup.exe"
InstallDir "$PROGRAMFILES\${PRODUCT}"
InstallDirRegKey HKLM "${VENDOR_KEY}" "Install_Dir"
RequestExecutionLevel admin

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; A small file of one line, standing for what the real program would ship.
!macro WriteTextFile FILE TEXT
  FileOpen $0 "${FILE}" w
  FileWrite $0 "${TEXT}$\r$\n"
  FileClose $0
!macroend

Section
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${SAMPLE_BIN}/${EXE}"
  WriteUninstaller "$INSTDIR\uninst.exe"
  CreateDirectory "$INSTDIR\plugins"
  !insertmacro WriteTextFile "$INSTDIR\plugins\echo.orvplug" "echo 1.0"
  !insertmacro WriteTextFile "$INSTDIR\plugins\reverb.orvplug" "reverb 1.2"
  CreateDirectory "$INSTDIR\data\presets"
  !insertmacro WriteTextFile "$INSTDIR\data\devices.list" "default"
  !insertmacro WriteTextFile "$INSTDIR\data\presets\default.preset" "gain=0"
  !insertmacro WriteTextFile "$INSTDIR\data\presets\studio.preset" "gain=3"
  WriteINIStr "$INSTDIR\mixer.ini" "Paths" "Plugins" "$INSTDIR\plugins"
  WriteINIStr "$INSTDIR\mixer.ini" "Paths" "Presets" "$INSTDIR\data\presets"
  WriteINIStr "$INSTDIR\mixer.ini" "Audio" "SampleRate" "48000"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\${EXE}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall.lnk" "$INSTDIR\uninst.exe" "/allusers"
  WriteRegStr HKLM "${VENDOR_KEY}" "Install_Dir" "$INSTDIR"
  WriteRegStr HKLM "${VENDOR_KEY}" "Version" "${VERSION}"

  !insertmacro WriteUninstallDescription HKLM "${KEY}" "${PRODUCT}" "${VERSION}" "${EXE}" "mixer"
  WriteRegStr HKLM "${UNINSTALL_KEYS}\${KEY}" "UninstallString" '"$INSTDIR\uninst.exe" /allusers'
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\uninst.exe"
  RMDir /r "$INSTDIR\plugins"
  RMDir "$INSTDIR"
  RMDir /r "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEYS}\${KEY}"
SectionEnd
