-- The version of the player card format this program writes and reads.
Card_Version = 4
