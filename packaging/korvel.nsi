; The Korvel Pro setup program. Built by the package_setup target with makensis:
;   makensis -DVERSION=2007.1 -DKORVEL_EXE=<korvel.exe> -DICON=<korvel.ico>
;            -DFILES_NSH=<generated skin file list> -DOUTFILE=<setup.exe> korvel.nsi
;
; Installs korvel.exe and the shipped skin folders into c:\korvel, beside the network
; tools the launcher starts from there. The folder is fixed: the launcher's tool table
; and its skin directory name c:\korvel. Everything else in c:\korvel (the tools, the
; site files, HTML results, skins the user added) belongs to the user: the installer
; writes only its own files, and the uninstaller removes exactly those, one by one.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all

!define PRODUCT "Korvel Pro"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KorvelPro"
!define UNINSTALLER "korvel-uninstall.exe"
!define MENU_FOLDER "$SMPROGRAMS\${PRODUCT}"

!include "${FILES_NSH}"

Name "${PRODUCT} ${VERSION}"
Caption "${PRODUCT} ${VERSION} Setup"
UninstallCaption "${PRODUCT} ${VERSION} Uninstall"
BrandingText "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "C:\korvel"
ShowInstDetails show
ShowUninstDetails show

; The version resource carries no copyright line: the program's terms are on its About page.
!pragma warning disable 9100
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"

; No directory page: the install folder is not a choice (see above). The components page
; says where everything goes and waits for the Install button.
ComponentText "${PRODUCT} ${VERSION} will be installed into C:\korvel, beside the network tools it starts. \
Files of your own in that folder, and the tools, are left as they are." "" ""
Page components
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  ; The Start-menu shortcut and the uninstall entry are for every user of the machine.
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "${PRODUCT} and its skins"
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=korvel.exe" "${KORVEL_EXE}"
  !insertmacro KorvelInstallSkins
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateDirectory "${MENU_FOLDER}"
  ; The shortcut starts the program in its own folder.
  CreateShortcut "${MENU_FOLDER}\${PRODUCT}.lnk" "$INSTDIR\korvel.exe" "" "$INSTDIR\korvel.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\korvel.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0   ; kilobytes of this section's files, as makensis counted them
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  ; Exactly the files the installer wrote; a folder goes only when nothing else is in it
  ; (RMDir without /r), so the tools and the user's files keep c:\korvel alive.
  Delete "$INSTDIR\korvel.exe"
  !insertmacro KorvelUninstallSkins

  Delete "${MENU_FOLDER}\${PRODUCT}.lnk"
  RMDir "${MENU_FOLDER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ; Last, so that whoever waits for the uninstaller to be gone knows that everything is done.
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
SectionEnd
