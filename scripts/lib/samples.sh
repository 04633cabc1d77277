# Installs the sample programs of the 32-bit build into a prefix made by
# scripts/wine-prefix, silently, with their real installers (NSIS, and the
# MSI package through msiexec). Used by scripts/demo and scripts/screenshots.
# Needs the caller in the repository root.
install_samples() {
  local prefix=$1 samples=out/win32/samples installer
  for installer in "$samples"/*Setup.exe; do
    echo "installing $(basename "$installer")"
    scripts/wine-prefix run "$prefix" "$installer" /S >/dev/null
  done
  echo "installing OrvixSampleViewer.msi"
  (cd "$samples" && ../../../scripts/wine-prefix run "$prefix" msiexec /i OrvixSampleViewer.msi /qn >/dev/null)
  scripts/wine-prefix wait "$prefix"
}
