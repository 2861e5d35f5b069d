# A standard KP800 portable of the KP8D hardware (option B, no rotary knob).
type = 1
name = KP8D portable
hardware_byte26 = 0xFB
hardware_byte27 = 0x7F
trunk_job = yes
