# Sources of src/info: portable files go to the core, Win32 files to the Windows layer.
