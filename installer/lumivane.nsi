; The per-user installer of Lumivane: no administrator rights, Chinese texts,
; an uninstaller in the user's list of installed programs.
; The build hands in the version and the files (see cmake/Package.cmake):
;   makensis -DVERSION=1.5 -DVERSION_QUAD=1.5.0.0 -DPROGRAM=lumivane.exe
;            -DREADME=ReadMe.txt -DICON=program.ico -DOUTFILE=setup.exe lumivane.nsi
Unicode true
; The test build for 64-bit-only Wine packs a 64-bit program into a 64-bit installer.
!ifdef TARGET
  Target ${TARGET}
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include LogicLib.nsh
!include WinMessages.nsh

!define PRODUCT "Lumivane"
!define WINDOW_CLASS "lumivane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "${PRODUCT}.lnk"
!define CLOSE_WAIT_MS 10000
; What the program holds from its first moment, before its window exists.
!define INSTANCE_MUTEX "Local\Lumivane.Running"
!define START_WAIT_ROUNDS 20
!define START_WAIT_STEP_MS 100
!define SYNCHRONIZE 0x00100000

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
; The stock text asks to close every program and speaks of system files;
; this installer touches neither.
!define MUI_WELCOMEPAGE_TEXT "安装程序将把 ${PRODUCT} ${VERSION} 安装到您自己的用户文件夹中，\
不需要管理员权限。$\r$\n$\r$\n如果 ${PRODUCT} 正在运行，安装程序会先让它退出。$\r$\n$\r$\n\
点击“下一步(N)”继续。"
!define MUI_FINISHPAGE_RUN "$INSTDIR\lumivane.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\ReadMe.txt"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "© 2026 ${PRODUCT} 开发者"

; A copy that is starting holds the mutex but has no window yet to be asked
; to close; it is given a moment to make one. An earlier version holds no
; mutex, and one that stays without a window is left to the window test.
!macro WaitForStartingCopy
  ${For} $3 1 ${START_WAIT_ROUNDS}
    FindWindow $0 "${WINDOW_CLASS}"
    ${If} $0 <> 0
      ${Break}
    ${EndIf}
    System::Call "kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w '${INSTANCE_MUTEX}') p .r4"
    ${If} $4 P= 0
      ${Break}
    ${EndIf}
    System::Call "kernel32::CloseHandle(p r4)"
    Sleep ${START_WAIT_STEP_MS}
  ${Next}
!macroend

; A running copy holds its exe open and saves its state as it ends, so it is
; asked to close (WM_CLOSE to its hidden window) and its process is awaited
; before any file is replaced or removed. Silent runs give up instead of asking.
!macro CloseRunningCopy
  ${Do}
    !insertmacro WaitForStartingCopy
    FindWindow $0 "${WINDOW_CLASS}"
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1)"
    System::Call "kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2"
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=${CLOSE_WAIT_MS}
    ${If} $2 P<> 0
      System::Call "kernel32::WaitForSingleObject(p r2, i ${CLOSE_WAIT_MS})"
      System::Call "kernel32::CloseHandle(p r2)"
    ${EndIf}
    FindWindow $0 "${WINDOW_CLASS}"
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${PRODUCT} 正在运行，没能让它退出。$\r$\n请在通知区域图标的菜单中选择“退出”，然后点“重试”。" \
      /SD IDCANCEL IDRETRY +2
    Abort
  ${Loop}
!macroend

Section
  !insertmacro CloseRunningCopy
  SetOutPath "$INSTDIR"
  File "/oname=lumivane.exe" "${PROGRAM}"
  File "/oname=ReadMe.txt" "${README}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\lumivane.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lumivane.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only the files this installer put there are removed, and the folder only
; when nothing else is left in it. The data folder goes only when the user
; says so; a silent uninstall keeps it.
Section "Uninstall"
  !insertmacro CloseRunningCopy
  Delete "$INSTDIR\lumivane.exe"
  Delete "$INSTDIR\ReadMe.txt"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${SHORTCUT}"
  Delete "$SMSTARTUP\${SHORTCUT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  ${If} ${FileExists} "$APPDATA\${PRODUCT}\*.*"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "是否同时删除您的设置和图片列表？$\r$\n$\r$\n$APPDATA\${PRODUCT}" \
      /SD IDNO IDNO keep
    Delete "$APPDATA\${PRODUCT}\lumi.ini"
    Delete "$APPDATA\${PRODUCT}\wallpaper.txt"
    RMDir "$APPDATA\${PRODUCT}"
  keep:
  ${EndIf}
SectionEnd
