# Completes one command line in an interactive zsh, as Tab does, and prints every
# candidate that the completion functions offer, one a line.
#   zsh -f zsh-complete.zsh COMPLETIONS_FOLDER LINE
# The shell runs on a pseudo-terminal (zpty); each candidate is caught where it is
# added (compadd -O lists what would be added). zle reads its keys in order, so the
# marker printed after the line is cleared comes only once the completion is done.
zmodload zsh/zpty
local found=$(mktemp)
zpty shell zsh -f -i
zpty -w shell "PS1='> '; fpath=(${(q)1} \$fpath); autoload -Uz compinit; compinit -u -D"
zpty -w shell "compadd() { local -a added; builtin compadd -O added \"\$@\"; print -lr -- \$added >> ${(q)found}; builtin compadd \"\$@\" }"
zpty -w shell 'bindkey "^I" complete-word; bindkey "^U" kill-whole-line; print -r -- RE""ADY'
# Keys typed before the line editor is ready would be lost: the prompt after the marker
# shows that it is.
zpty -r shell output '*READY*> *'
zpty -w -n shell "$2"$'\t\C-u'
zpty -w shell 'print -r -- DO""NE'
zpty -r shell output '*DONE*'
zpty -d shell
cat $found
rm -f $found
