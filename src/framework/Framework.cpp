// The dialog framework's sources live beside this file.
