# A radio whose type code the programmer does not know.
type = 5
name = unknown radio type
