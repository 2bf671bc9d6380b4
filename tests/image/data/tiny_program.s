# A program body and its data, linked at chosen addresses to make program files with objcopy.
	.text
	.fill 768, 1, 0xA5
	.data
	.fill 40, 1, 0x5A
